#pragma once
// The player card: nine facts about one seated player.

#include <QWidget>
#include <array>

#include "game/core/TableState.h"
#include "table/Controls.h"

namespace sorvik {

class InformationWindow : public QWidget {
    Q_OBJECT
public:
    explicit InformationWindow(QWidget* owner);
    void Fill(const SeatProfile& profile);
    std::array<TextLabel*, 9> Label{};  // Label1 .. Label9, the row titles
    std::array<TextLabel*, 9> Inf{};
};

}  // namespace sorvik
