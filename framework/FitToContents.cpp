#include "framework/FitToContents.h"

#include "framework/Dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

// Pixels a control needs across for its text; 0 when its template width is always enough.
int NeededWidth(QWidget* control, const WidestValueText& widestValue)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const QMargins margins = label->contentsMargins();
        // A little air on each side keeps neighbouring labels apart.
        return label->fontMetrics().horizontalAdvance(label->text()) + margins.left() + margins.right() + 4;
    }
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->sizeHint().width();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->fontMetrics().horizontalAdvance(button->text()) + 12;
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        int widest = 0;
        for (int row = 0; row < list->count(); ++row)
            widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(row)->text()));
        if (widest == 0)
            return 0;
        const int scrollBar = list->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                                  ? 0
                                  : list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        // The frame on both sides and the item's own margins.
        return widest + 2 * list->frameWidth() + scrollBar + 8;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        const QString widest = widestValue ? widestValue(control->objectName().toInt()) : QString();
        if (widest.isEmpty())
            return 0;
        const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
        const QMargins margins = edit->textMargins();
        // 2 pixels of the box's own margin on each side and one for the cursor.
        return edit->fontMetrics().horizontalAdvance(widest) + 2 * frame + margins.left() + margins.right() + 2 * 2 + 1;
    }
    return 0;
}

struct Placed {
    QWidget* widget;
    int left;   // the template's, in pixels
    int right;
    int top;
    int bottom;
    int width;  // the template's, then the fitted one
    int newLeft = 0;
};

// Two controls share a row when their template rectangles overlap from top to bottom.
bool sameRow(const Placed& a, const Placed& b) { return a.top < b.bottom && b.top < a.bottom; }

// A list shows whole rows, as the platform's list box does: its height is trimmed to the last row
// that fits.
void showWholeRows(QListWidget* list)
{
    if (list->count() == 0)
        return;
    const int row = list->sizeHintForRow(0);
    const int frame = 2 * list->frameWidth();
    const int inside = list->height() - frame;
    if (row > 0 && inside % row != 0 && inside > row)
        list->setFixedHeight(frame + inside / row * row);
}

}  // namespace

void FitToContents(CDialog& dialog, const WidestValueText& widestValue)
{
    std::vector<Placed> placed;
    for (const CDialog::BuiltControl& built : dialog.builtControls()) {
        const ControlTemplate& control = *built.entry;
        QRect rect = dialog.dialogRect(control.x, control.y, control.width, control.height);
        if (control.kind == ControlKind::Icon)
            rect.setSize(built.widget->size());  // an icon keeps its own size
        if (control.kind == ControlKind::ComboBox)
            rect.setHeight(built.widget->height());  // closed, a combo is one line high
        placed.push_back({built.widget, rect.left(), rect.right() + 1, rect.top(), rect.bottom() + 1, rect.width()});
        if (auto* list = qobject_cast<QListWidget*>(built.widget))
            showWholeRows(list);
    }
    if (placed.empty())
        return;

    // Controls in the same template column (same left edge and width) keep one width.
    std::map<std::pair<int, int>, int> columnWidth;
    for (const Placed& p : placed) {
        int& width = columnWidth[{p.left, p.right}];
        width = std::max({width, p.right - p.left, NeededWidth(p.widget, widestValue)});
    }
    for (Placed& p : placed)
        p.width = columnWidth[{p.left, p.right}];

    // Left to right: a control starts where the template puts it, or further right when a control
    // of its own row that ends before it in the template grew, keeping the template's gap between
    // them. Controls of one template column (same left edge and width) stay in line.
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.left < b.left; });
    const int clientWidth = dialog.dialogRect(0, 0, dialog.dialogTemplate().width, dialog.dialogTemplate().height).width();
    int templateRight = 0, fittedRight = 0;
    for (std::size_t first = 0; first < placed.size();) {
        std::size_t end = first;
        while (end < placed.size() && placed[end].left == placed[first].left)
            ++end;
        // Controls starting here, each pushed by its own row, then each column at its furthest.
        std::map<int, int> columnLeft;  // by right edge
        for (std::size_t i = first; i < end; ++i) {
            int left = placed[i].left;
            for (std::size_t b = 0; b < first; ++b)
                if (placed[b].right <= placed[i].left && sameRow(placed[b], placed[i]))
                    left = std::max(left, placed[b].newLeft + placed[b].width + (placed[i].left - placed[b].right));
            int& column = columnLeft[placed[i].right];
            column = std::max(column, left);
        }
        for (std::size_t i = first; i < end; ++i) {
            placed[i].newLeft = columnLeft[placed[i].right];
            templateRight = std::max(templateRight, placed[i].right);
            fittedRight = std::max(fittedRight, placed[i].newLeft + placed[i].width);
        }
        first = end;
    }
    for (const Placed& p : placed) {
        const QRect current = p.widget->geometry();
        p.widget->setGeometry(p.newLeft, current.top(), p.width, current.height());
    }
    const QSize client = dialog.clientArea()->size();
    const int width = std::max(clientWidth, fittedRight + std::max(0, clientWidth - templateRight));
    dialog.clientArea()->setFixedSize(width, client.height());
    dialog.adjustSize();
}
