#pragma once

#include <QTableView>

namespace thornbeck {

class ValueHexModel;

// The Value field's bytes in hex: 16 narrow byte columns and the text column, in a fixed font a
// point smaller than the fields, so that a row fits the details panel without scrolling sideways.
class HexView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kShownRows = 4;

    HexView(ValueHexModel* model, QWidget* parent);
    ValueHexModel* hexModel() const { return bytes; }

private:
    ValueHexModel* bytes;
};

}  // namespace thornbeck
