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
    if (!m_placed)
        return;  // placing the window fits it
    FitToContents(*this, [this](int controlId) { return widestValueText(controlId); });
    // The default place depends on the width, now final.
    if (atDefaultPlace())
        placeBesideOwner();
}

bool CToolWindow::OnInitDialog()
{
    m_storedCorner = m_cornerFromOwner ? *m_cornerFromOwner : ReadStoredCorner(m_prefix);
    return CDialog::OnInitDialog();
}

void CToolWindow::place()
{
    if (m_placed || !isCreated())
        return;
    m_placed = true;
    fitToContents();
    placeBesideOwner();
    MoveToStoredCorner(this, m_storedCorner);
}

void CToolWindow::setVisible(bool visible)
{
    if (visible)
        place();
    CDialog::setVisible(visible);
}

bool CToolWindow::atDefaultPlace() const { return m_defaultCorner && pos() == *m_defaultCorner; }

void CToolWindow::showEvent(QShowEvent* event)
{
    // Placed again now that the platform knows the window's frame.
    if (atDefaultPlace())
        placeBesideOwner();
    m_screenKeeper.shown(this);
    CDialog::showEvent(event);
}

void CToolWindow::OnDestroy()
{
    place();  // a window never shown stores the corner it would have stood at
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
        // The frame, where the platform already knows it, and the title bar count.
        const QSize outer = frameGeometry().size().expandedTo(size() + QSize(0, titleBar));
        corner.setX(qMax(available.left(), qMin(corner.x(), available.right() + 1 - outer.width())));
        corner.setY(qMax(available.top(), qMin(corner.y(), available.bottom() + 1 - outer.height())));
    }
    move(corner);
    m_defaultCorner = pos();
}
