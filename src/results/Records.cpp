// The statistics file of this table and the record windows: score, hero and the hover
// score table.

#include <QScrollBar>

#include "results/ResultWindows.h"
#include "session/TableClient.h"
#include "session/core/IniFile.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

// More lines than any bill of one game has.
constexpr int kMaxRecordLines = 1000;

QString CountKey(int i) { return QStringLiteral("count( %1 )").arg(i); }
QString LineKey(int i, int j) { return CountKey(i) + QStringLiteral("( %1 )").arg(j); }
QString Section(int n) { return QStringLiteral("juNum:%1").arg(n); }

}  // namespace

QString TableClient::StatisticsFile() const {
    return seams_.desktop.ProgramFolder() + QStringLiteral("/info.mv");
}

ScoreWindow& TableClient::Score() {
    if (!score_) {
        score_ = std::make_unique<ScoreWindow>(seams_.pictures, form_.get());
        CentreOver(score_.get(), form_.get());
    }
    return *score_;
}

HeroWindow& TableClient::Hero() {
    if (!hero_) {
        hero_ = std::make_unique<HeroWindow>(seams_.pictures, form_.get());
        CentreOver(hero_.get(), form_.get());
        connect(hero_.get(), &HeroWindow::numClicked, this, [this] { HeroNumClicked(); });
        connect(hero_.get(), &HeroWindow::gradeClicked, this, [this](int k) { HeroGradeClicked(k); });
        connect(hero_.get(), &HeroWindow::doubleClicked, this, [this](int row) { HeroDoubleClicked(row); });
    }
    return *hero_;
}

SuanfenWindow& TableClient::suanfen() {
    if (!suanfen_) suanfen_ = std::make_unique<SuanfenWindow>(form_.get());
    return *suanfen_;
}

void TableClient::SaveGameRecord(int n) {
    // The whole record in one atomic write: a crash never leaves half a bill.
    std::vector<std::pair<QString, QString>> keys;
    ScoreWindow& w = Score();
    for (int i = 0; i < 8; ++i) {
        const QStringList lines = w.State[i]->Items();
        keys.emplace_back(CountKey(i), QString::number(lines.size()));
        for (int j = 0; j < lines.size(); ++j) keys.emplace_back(LineKey(i, j), lines[j]);
    }
    classIniFile(StatisticsFile()).WriteIniKeys(Section(n), keys);
}

void TableClient::LoadGameRecord(int n) {
    if (n == 0) return;
    const classIniFile file(StatisticsFile());
    ScoreWindow& w = Score();
    for (int i = 0; i < 8; ++i) {
        const QString count = file.GetIniKey(Section(n), CountKey(i));
        if (count.isEmpty()) return;  // this list and the following keep what they show
        // A count that no saved record can have (the file may have been edited) reads as 0.
        const double c = count.toDouble();
        const int m = c >= 0 && c <= kMaxRecordLines ? static_cast<int>(c) : 0;
        MessageList* list = w.State[i];
        while (list->count() < m) list->AddItem(QStringLiteral(" "));
        while (list->count() > m) delete list->takeItem(list->count() - 1);
        for (int j = 0; j < m; ++j) {
            const QString v = file.GetIniKey(Section(n), LineKey(i, j));
            list->item(j)->setText(v.isEmpty() ? QStringLiteral(" ") : v);
        }
    }
}

void TableClient::ToggleScore() {
    ScoreWindow& w = Score();
    if (w.isVisible()) {
        w.hide();
        return;
    }
    LoadGameRecord(state_.GameCount);
    w.show();
    w.raise();
}

void TableClient::ToggleHero() {
    HeroWindow& w = Hero();
    if (w.isVisible()) {
        w.hide();
        return;
    }
    w.show();
    w.raise();
}

void TableClient::HeroNumClicked() {
    HeroWindow& w = Hero();
    for (MessageList* g : w.Grade) {
        g->setCurrentRow(w.Num->currentRow());
        g->verticalScrollBar()->setValue(w.Num->verticalScrollBar()->value());
    }
}

void TableClient::HeroGradeClicked(int k) {
    HeroWindow& w = Hero();
    const int row = w.Grade[k]->currentRow();
    const int top = w.Grade[k]->verticalScrollBar()->value();
    w.Num->setCurrentRow(row);
    w.Num->verticalScrollBar()->setValue(top);
    for (int other = 0; other < 4; ++other) {
        if (other == k) continue;
        w.Grade[other]->setCurrentRow(row);
        w.Grade[other]->verticalScrollBar()->setValue(top);
    }
}

void TableClient::HeroDoubleClicked(int row) {
    LoadGameRecord(row + 1);  // no line selected: row -1, nothing loaded
    Score().show();
    Score().raise();
}

void TableClient::ShowSuanfen() {
    SuanfenWindow& w = suanfen();
    const QPoint at = form_->mapToGlobal(form_->imgJishu->pos() + form_->Pic1->pos());
    w.move(at.x(), at.y() - w.height() - 4);
    w.show();
}

}  // namespace sorvik
