#pragma once

#include <QStyledItemDelegate>

namespace grid {

class KelvoStringGrid;

// Draws and edits the data cells of a KelvoStringGrid. The editor is a frameless line edit
// whose text goes into the cell at every change; its keys reach the grid's key handler
// first. Escape puts back the text the cell had when the editor opened.
class KelvoCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit KelvoCellDelegate(KelvoStringGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Ends editing in the given editor, keeping what was typed.
    void finishEditing(QWidget* editor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KelvoStringGrid& grid_;
};

}  // namespace grid
