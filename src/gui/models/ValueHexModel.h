#pragma once

#include <QAbstractTableModel>
#include <string>

namespace thornbeck {

// A value's bytes as a hex view: 16 bytes a row in columns 0 to 15, the same bytes as text in
// column 16, each row's offset in its header. A model over the bytes, so that a 65,535-byte value
// shows at once. When editable, two hex digits over a byte ask for that byte to change; the
// length never changes here.
class ValueHexModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBytesPerRow = 16;
    static constexpr int kTextColumn = kBytesPerRow;

    explicit ValueHexModel(QObject* parent = nullptr);

    void setBytes(std::string bytes);
    const std::string& bytes() const { return value; }
    void setEditable(bool editable);
    bool isEditable() const { return editable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The user typed a new value for the byte at `offset`.
    void byteEdited(int offset, uint8_t byte);

private:
    // The byte offset a cell shows, or -1 for the text column or past the end.
    int offsetOf(const QModelIndex& index) const;

    std::string value;
    bool editable = false;
};

}  // namespace thornbeck
