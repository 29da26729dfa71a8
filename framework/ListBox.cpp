#include "framework/ListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#ifdef Q_OS_WIN
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// A Windows list box fills its selected entry with the system's highlight colour and writes it in the
// highlighted-text colour. The visual theme's list-view item, which Qt's Windows style would draw
// instead, is a pale tint that some themes (Wine's among them) draw almost white on white.
class ListBoxItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!(option.state & QStyle::State_Selected)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_Selected;
        plain.palette.setBrush(QPalette::Text, option.palette.brush(QPalette::HighlightedText));
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace
#endif

CListBox::CListBox(QWidget* parent) : QListWidget(parent)
{
#ifdef Q_OS_WIN
    // A Windows list box shows its selection in the highlight colour whether it has the focus or not;
    // Qt's Windows palette would grey it out, almost white on white, while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    setItemDelegate(new ListBoxItemDelegate(this));
#endif
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        ++m_changes;
        emit selChange();
    });
}

template <class Handle>
void CListBox::reportUnchanged(Handle handle)
{
    const int before = m_changes;
    handle();
    const QListWidgetItem* item = currentItem();
    if (m_changes == before && item && item->isSelected())
        emit selChange();
}

void CListBox::mousePressEvent(QMouseEvent* event)
{
    const QListWidgetItem* hit = itemAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !hit || !hit->isSelected()) {
        QListWidget::mousePressEvent(event);
        return;
    }
    reportUnchanged([&] { QListWidget::mousePressEvent(event); });
}

void CListBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))) {
            reportUnchanged([&] { QListWidget::keyPressEvent(event); });
            return;
        }
        break;
    default:
        break;
    }
    QListWidget::keyPressEvent(event);
}
