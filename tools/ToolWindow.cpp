#include "tools/ToolWindow.h"

#include "app/Placement.h"
#include "framework/FitToContents.h"

#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace {

constexpr int kGap = 8;  // pixels between the owner and the stack, and between stacked windows

}  // namespace

CToolWindow::CToolWindow(const DialogTemplate& dialogTemplate, QWidget* owner, const QString& placementPrefix,
                         int row)
    : CDialog(dialogTemplate, owner), m_prefix(placementPrefix), m_row(row)
{
}

QString CToolWindow::widestValueText(int) const { return QStringLiteral("255"); }

void CToolWindow::fitToContents()
{
    FitToContents(*this, [this](int controlId) { return widestValueText(controlId); });
    // The default place depends on the width, now final.
    if (m_besideOwner)
        placeBesideOwner();
}

bool CToolWindow::OnInitDialog()
{
    fitToContents();
    placeBesideOwner();
    const QPoint beside = pos();
    RestorePlacement(this, m_prefix);
    m_besideOwner = pos() == beside;
    return CDialog::OnInitDialog();
}

void CToolWindow::showEvent(QShowEvent* event)
{
    m_screenKeeper.shown(this);
    CDialog::showEvent(event);
}

void CToolWindow::OnDestroy()
{
    m_screenKeeper.beforeSave(this);
    SavePlacement(this, m_prefix);
}

void CToolWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        OnOK();
        event->accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

// The position a tool window takes when none is stored: to the right of its owner, the windows
// stacked from the owner's top edge downwards in the order of their rows.
void CToolWindow::placeBesideOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    adjustSize();
    QRect ownerRect = owner->frameGeometry();
    if (!owner->isVisible())
        ownerRect.setSize(ownerRect.size().expandedTo(owner->sizeHint()));
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    QPoint corner(ownerRect.right() + 1 + kGap, ownerRect.top() + m_row * (height() + titleBar + kGap));

    // Keep the default corner on the owner's screen; a stored corner is used as it is.
    if (QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        corner.setX(qMax(available.left(), qMin(corner.x(), available.right() + 1 - width())));
        corner.setY(qMax(available.top(), qMin(corner.y(), available.bottom() + 1 - height() - titleBar)));
    }
    move(corner);
}
