#include "grid/ui/KelvoCellDelegate.h"

#include "grid/ui/KelvoStringGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace grid {

namespace {

constexpr char kOriginalTextProperty[] = "kelvoOriginalText";

}  // namespace

KelvoCellDelegate::KelvoCellDelegate(KelvoStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

QWidget* KelvoCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int col = index.column() + grid_.fixedCols();
    const int row = index.row() + grid_.fixedRows();
    // The program records the cell before anything is typed into it.
    emit grid_.editorOpening(col, row);

    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(grid_.font());
    editor->setProperty(kOriginalTextProperty, index.data(Qt::EditRole).toString());
    // The cell follows the editor at every keystroke, so the cell and what the program reads
    // from it never differ while the user types.
    auto* self = const_cast<KelvoCellDelegate*>(this);
    connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
    return editor;
}

void KelvoCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // Writing the cell from the editor comes back here; leave the caret where it is then.
    if (line->text() != text)
        line->setText(text);
}

void KelvoCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    if (model->data(index, Qt::EditRole).toString() != text)
        model->setData(index, text, Qt::EditRole);
}

void KelvoCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

void KelvoCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // The grid draws the text itself, so a painting callback can draw over it in place.
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = opt.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    grid_.drawCellText(*painter, opt.rect, text,
                       opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    grid_.paintDataCell(*painter, opt.rect, index, selected);
}

void KelvoCellDelegate::finishEditing(QWidget* editor)
{
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool KelvoCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (!editor)
        return QStyledItemDelegate::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A filter's true stops the key only when it is accepted too; otherwise the
        // application hands it on to the grid as well.
        const auto taken = [key] {
            key->accept();
            return true;
        };
        if (grid_.runKeyDownHandler(key))
            return taken();
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            grid_.toggleEditor();
            return taken();
        case Qt::Key_Escape: {
            const QString original = editor->property(kOriginalTextProperty).toString();
            editor->setText(original);
            finishEditing(editor);
            return taken();
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return QStyledItemDelegate::eventFilter(watched, event);
        default:
            break;
        }
        // The editor gets the key first; what it leaves (up, down, page keys) moves the
        // current cell as in the grid. The key goes to the editor alone: passed on through the
        // parent chain it would reach the grid's key handler a second time.
        key->setAccepted(true);
        static_cast<QObject*>(editor)->event(key);
        if (!key->isAccepted())
            grid_.navigateFromEditor(key);
        return taken();
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace grid
