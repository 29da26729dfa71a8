#include "editor/FindDlg.h"

#include "framework/UnitEditorHost.h"
#include "res/Resources.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>

CFindDlg::CFindDlg(UnitEditorHost& host, const WeaponTable& weapons, QWidget* owner)
    : CDialog(res::kDialog200, owner), m_host(host), m_weapons(weapons)
{
    setRoutes({
        Route{Notify::Clicked, kNextId, kNextId, [this](int) { FindNext(true); }},
        Route{Notify::Clicked, kPreviousId, kPreviousId, [this](int) { FindNext(false); }},
    });
    // F3 and Shift+F3 work here as in the main dialog.
    for (const bool forward : {true, false}) {
        auto* action = new QAction(this);
        action->setShortcut(forward ? QKeySequence(Qt::Key_F3) : QKeySequence(Qt::SHIFT | Qt::Key_F3));
        connect(action, &QAction::triggered, this, [this, forward] { FindNext(forward); });
        addAction(action);
    }
}

bool CFindDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    button(kByNameId)->setChecked(true);
    m_placement.created(this);
    return true;
}

void CFindDlg::OnDestroy() { m_placement.destroyed(this); }

void CFindDlg::showEvent(QShowEvent* event)
{
    m_placement.shown(this);
    CDialog::showEvent(event);
}

void CFindDlg::Open()
{
    Create();
    show();
    raise();
    activateWindow();
    edit(kTextId)->setFocus();
    edit(kTextId)->selectAll();
}

void CFindDlg::OnOK() { FindNext(true); }

FindTarget CFindDlg::target() const
{
    if (button(kByNumberId)->isChecked())
        return FindTarget::Number;
    if (button(kByWeaponId)->isChecked())
        return FindTarget::Weapon;
    return FindTarget::Name;
}

void CFindDlg::FindNext(bool forward)
{
    if (!m_host.isDataLoaded())
        return;
    const QString text = isCreated() ? edit(kTextId)->text().trimmed() : QString();
    if (text.isEmpty()) {
        const bool wasOpen = isVisible();
        Open();
        setOutcome(wasOpen ? QString::fromUtf8(str::kFindNoText) : QString());
        return;
    }
    const FindResult found = FindUnit(m_host.unitTable(), m_weapons, target(), text, m_host.currentUnit(), forward);
    if (found.unit < 0)
        setOutcome(QString::fromUtf8(str::kFindNoMatch), text);
    else if (found.wrapped)
        setOutcome(QString::fromUtf8(forward ? str::kFindWrappedToFirst : str::kFindWrappedToLast));
    else
        setOutcome();
    // With the window closed (F3 in the main dialog) it comes up for what it has to tell, beside
    // the main dialog, leaving the focus where it is.
    if (!isVisible() && !outcome().isEmpty()) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    if (found.unit < 0)
        return;
    // As a click in the unit list: the entry is selected and the unit shown.
    m_host.selectUnitInList(found.unit);
    m_host.ShowUnit(found.unit);
}

QString CFindDlg::outcome() const
{
    const auto* line = qobject_cast<QLabel*>(control(kOutcomeId));
    return line->toolTip().isEmpty() ? line->text() : line->toolTip();
}

void CFindDlg::setOutcome(const QString& message, const QString& text)
{
    auto* line = qobject_cast<QLabel*>(control(kOutcomeId));
    const QString whole = message.contains(QStringLiteral("%1")) ? message.arg(text) : message;
    QString shown = whole;
    // A long text to find is shortened in the middle of the line; the whole line is its tooltip.
    const QFontMetrics metrics = line->fontMetrics();
    if (metrics.horizontalAdvance(whole) > line->width()) {
        const int room = line->width() - metrics.horizontalAdvance(QString(message).remove(QStringLiteral("%1")));
        shown = message.arg(metrics.elidedText(text, Qt::ElideMiddle, qMax(0, room)));
    }
    line->setText(shown);
    line->setToolTip(shown == whole ? QString() : whole);
}
