#include "framework/Dialog.h"

#include "framework/ListBox.h"
#include "res/Resources.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kOkId = 1;
constexpr int kCancelId = 2;

int mulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    return int((product >= 0 ? product + denominator / 2 : product - denominator / 2) / denominator);
}

Qt::Alignment textAlignment(std::uint32_t style, Qt::Alignment vertical)
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (style & Style::Right)
        horizontal = Qt::AlignRight;
    else if (style & Style::Center)
        horizontal = Qt::AlignHCenter;
    return horizontal | ((style & Style::VCenter) ? Qt::AlignVCenter : vertical);
}

}  // namespace

QFont CDialog::dialogFont(const char* face, int points)
{
    // Where the template's font is missing, a metric-compatible Japanese font keeps the proportions.
    // Each face is looked for once: asking for families that are not installed is slow, and every
    // dialog asks for the same face.
    static QHash<QString, QString> families;
    const QString wanted = QString::fromUtf8(face);
    auto family = families.constFind(wanted);
    if (family == families.constEnd()) {
        QStringList candidates{wanted};
        if (wanted == QStringLiteral("ＭＳ Ｐゴシック"))
            candidates << QStringLiteral("MS PGothic") << QStringLiteral("IPAPGothic") << QStringLiteral("IPA Pゴシック")
                       << QStringLiteral("VL PGothic") << QStringLiteral("Noto Sans CJK JP");
        QString found = wanted;
        for (const QString& candidate : candidates) {
            if (QFontDatabase::hasFamily(candidate)) {
                found = candidate;
                break;
            }
        }
        family = families.insert(wanted, found);
    }
    QFont font(*family);
    font.setPointSize(points);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

namespace {

// A Windows check box takes a click anywhere in its rectangle, not only on its box and text.
class CheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
#ifdef Q_OS_WIN
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
#endif
};

}  // namespace

namespace {

// A group box as the templates draw it: a thin frame whose top runs through the middle of the title
// line, the title at the left over the frame. Controls may start half a line below the box's top.
// Painted here rather than through a style sheet, which would cost every box a style of its own.
class TemplateGroupBox : public QGroupBox {
public:
    TemplateGroupBox(const QString& title, int frameTop, int titleLeft, QWidget* parent)
        : QGroupBox(title, parent), m_frameTop(frameTop), m_titleLeft(titleLeft)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect label(m_titleLeft, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
        if (!title().isEmpty())
            painter.setClipRegion(QRegion(rect()) - label);
        const QRect frame = rect().adjusted(0, m_frameTop, 0, 0);
        const QColor line = palette().color(QPalette::Mid);
        painter.fillRect(frame.left(), frame.top(), frame.width(), 1, line);
        painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, line);
        painter.fillRect(frame.left(), frame.top(), 1, frame.height(), line);
        painter.fillRect(frame.right(), frame.top(), 1, frame.height(), line);
        painter.setClipping(false);
        style()->drawItemText(&painter, label.adjusted(3, 0, -3, 0), Qt::AlignCenter, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }

private:
    int m_frameTop;
    int m_titleLeft;
};

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
           && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// An edit box keeps Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z for its own typing on every platform, as edit
// controls do on Windows; Qt's edit claims only the keys of the platform's own scheme, and any other
// would reach the window's shortcuts (the table's undo and redo).
class TemplateEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && !isReadOnly()
            && typingKey(*static_cast<QKeyEvent*>(event)) != Typing::None) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const Typing key = isReadOnly() ? Typing::None : typingKey(*event);
        if (key == Typing::None)
            return QLineEdit::keyPressEvent(event);
        if (key == Typing::Undo)
            undo();
        else
            redo();
        event->accept();
    }

private:
    enum class Typing { None, Undo, Redo };
    static Typing typingKey(const QKeyEvent& event)
    {
        const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
        if (event.matches(QKeySequence::Undo) || (event.key() == Qt::Key_Z && modifiers == Qt::ControlModifier))
            return Typing::Undo;
        if (event.matches(QKeySequence::Redo) || (event.key() == Qt::Key_Y && modifiers == Qt::ControlModifier)
            || (event.key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)))
            return Typing::Redo;
        return Typing::None;
    }
};

// A push button takes Return or Enter while it has the focus, and only then; elsewhere they press
// the template's default button, if it has one. (Qt's auto-default buttons would make the first
// button that ever had the focus the dialog's default for good, and one that shows first the
// default of a template without one.)
class TemplateButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (isEnterKey(event)) {
            click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* parent, const MenuTemplate* menu)
    : QDialog(parent), m_template(dialogTemplate)
{
    setObjectName(QString::number(dialogTemplate.id));
    setAccessibleDescription(QStringLiteral("id=%1").arg(dialogTemplate.id));
    setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    setWindowIcon(AppIcon());

    const QFont font = dialogFont(dialogTemplate.fontFace, dialogTemplate.fontPoints);
    setFont(font);
    const QFontMetrics metrics(font);
    const int average = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (average / 26 + 1) / 2;
    m_baseY = metrics.height();

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (dialogTemplate.style & DialogStyle::MinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (dialogTemplate.style & DialogStyle::ToolWindow)
        flags = (flags & ~Qt::Dialog) | Qt::Tool;
    if (dialogTemplate.style & DialogStyle::Child)
        flags = Qt::Widget;
    setWindowFlags(flags);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (menu) {
        m_menuBar = new QMenuBar(this);
        m_menuBar->setNativeMenuBar(false);
        layout->setMenuBar(m_menuBar);
        buildMenu(*menu);
    }
    m_client = new QWidget(this);
    m_client->setFixedSize(dialogRect(0, 0, dialogTemplate.width, dialogTemplate.height).size());
    layout->addWidget(m_client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    buildControls();
}

CDialog::~CDialog()
{
    // The controls die with the base class, after the routing table and the derived dialog: a list
    // whose selection empties as it goes must not reach them.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

QRect CDialog::dialogRect(int x, int y, int width, int height) const
{
    const int left = mulDiv(x, m_baseX, 4);
    const int top = mulDiv(y, m_baseY, 8);
    return QRect(left, top, mulDiv(x + width, m_baseX, 4) - left, mulDiv(y + height, m_baseY, 8) - top);
}

void CDialog::buildControls()
{
    // Group boxes are created first so that they stay behind the controls they frame.
    for (const ControlTemplate& control : m_template.controls)
        if (control.kind == ControlKind::GroupBox)
            createControl(control);
    for (const ControlTemplate& control : m_template.controls)
        if (control.kind != ControlKind::GroupBox)
            createControl(control);
}

QWidget* CDialog::createControl(const ControlTemplate& control)
{
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    QRect rect = dialogRect(control.x, control.y, control.width, control.height);
    QWidget* widget = nullptr;

    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(text, m_client);
        label->setAlignment(textAlignment(control.style, Qt::AlignTop));
        widget = label;
        break;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(m_client);
        label->setPixmap(AppIcon().pixmap(32, 32));
        rect.setSize(QSize(32, 32));
        widget = label;
        break;
    }
    case ControlKind::GroupBox: {
        auto* group = new TemplateGroupBox(text, m_baseY / 2, m_baseX, m_client);
        widget = group;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new TemplateEdit(text, m_client);
        edit->setAlignment(textAlignment(control.style, Qt::AlignVCenter));
        edit->setReadOnly(control.style & Style::ReadOnly);
        edit->setTextMargins(0, 0, 0, 0);
        edit->setFrame(true);
        widget = edit;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new CListBox(m_client);
        list->setVerticalScrollBarPolicy((control.style & Style::VScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
        widget = list;
        break;
    }
    case ControlKind::ListView: {
        auto* view = new QTreeWidget(m_client);
        view->setHeaderLabels(text.split(u'|'));
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setAllColumnsShowFocus(true);
        view->setSelectionMode((control.style & Style::ExtendedSel) ? QAbstractItemView::ExtendedSelection
                                                                    : QAbstractItemView::SingleSelection);
        widget = view;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(m_client);
        // The template's height is the height of the dropped list; the closed combo is one line.
        const QRect closed = dialogRect(control.x, control.y, control.width, 12);
        combo->setMaxVisibleItems(qMax(4, rect.height() / qMax(1, m_baseY) - 1));
        rect = closed;
        widget = combo;
        break;
    }
    case ControlKind::PushButton: {
        auto* button = new TemplateButton(text, m_client);
        button->setAutoDefault(false);
        button->setDefault(control.style & Style::Default);
        widget = button;
        break;
    }
    case ControlKind::CheckBox:
        widget = new CheckBox(text, m_client);
        break;
    case ControlKind::RadioButton:
        widget = new QRadioButton(text, m_client);
        break;
    case ControlKind::Frame: {
        auto* frame = new QFrame(m_client);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setAutoFillBackground(true);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, Qt::black);
        frame->setPalette(palette);
        widget = frame;
        break;
    }
    case ControlKind::Placeholder:
        widget = new QWidget(m_client);
        break;
    }

    widget->setGeometry(rect);
    m_built.push_back({&control, widget});
    if (control.style & Style::Hidden)
        widget->hide();
    widget->setFocusPolicy((control.style & Style::TabStop) || control.kind == ControlKind::PushButton
                                   || control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton
                                   || control.kind == ControlKind::Edit
                                   || control.kind == ControlKind::ComboBox || control.kind == ControlKind::ListBox
                                   || control.kind == ControlKind::ListView
                               ? Qt::StrongFocus
                               : Qt::NoFocus);
    if (control.id != -1) {
        widget->setObjectName(QString::number(control.id));
        widget->setAccessibleDescription(QStringLiteral("id=%1").arg(control.id));
        m_controls.insert(control.id, widget);
    }
    if (control.id == kOkId)
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, &CDialog::accept);
    if (control.id == kCancelId)
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, &CDialog::reject);
    return widget;
}

void CDialog::buildMenu(const MenuTemplate& menu)
{
    for (const MenuPopupTemplate& popup : menu.popups) {
        QMenu* qmenu = m_menuBar->addMenu(QString::fromUtf8(popup.text));
        for (const MenuItemTemplate& item : popup.items) {
            if (!item.text) {
                qmenu->addSeparator();
                continue;
            }
            const QString text = QString::fromUtf8(item.text);
            QAction* action = qmenu->addAction(text);
            // The key named after a tab in the item's text is the command's accelerator.
            if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0)
                action->setShortcut(QKeySequence(text.mid(tab + 1), QKeySequence::PortableText));
            if (item.prompt) {
                const QString prompt = QString::fromUtf8(item.prompt);
                action->setStatusTip(prompt.section(u'\n', 0, 0));
                action->setToolTip(prompt.section(u'\n', 1, 1));
            }
            const int command = item.command;
            connect(action, &QAction::triggered, this, [this, command] { dispatch(Notify::Command, command); });
            m_commands.insert(command, action);
        }
    }
}

QWidget* CDialog::control(int id) const { return m_controls.value(id, nullptr); }
QLineEdit* CDialog::edit(int id) const { return qobject_cast<QLineEdit*>(control(id)); }
QListWidget* CDialog::list(int id) const { return qobject_cast<QListWidget*>(control(id)); }
QTreeWidget* CDialog::listView(int id) const { return qobject_cast<QTreeWidget*>(control(id)); }
QComboBox* CDialog::combo(int id) const { return qobject_cast<QComboBox*>(control(id)); }
QAbstractButton* CDialog::button(int id) const { return qobject_cast<QAbstractButton*>(control(id)); }
QAction* CDialog::menuCommand(int commandId) const { return m_commands.value(commandId, nullptr); }

void CDialog::setRoutes(std::vector<Route> routes)
{
    m_routes = std::move(routes);
    for (const Route& route : m_routes)
        connectRoute(route);
}

void CDialog::connectRoute(const Route& route)
{
    if (route.code == Notify::Command)
        return;  // menu actions dispatch by command id already
    const Notify code = route.code;
    for (int id = route.firstId; id <= route.lastId; ++id) {
        QWidget* widget = control(id);
        if (!widget)
            continue;
        auto fire = [this, code, id] { dispatch(code, id); };
        switch (code) {
        case Notify::Clicked:
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                connect(button, &QAbstractButton::clicked, this, fire);
            break;
        case Notify::SelChange:
            // After the selection has moved: a mouse press moves the current row first.
            if (auto* listBox = qobject_cast<CListBox*>(widget))
                connect(listBox, &CListBox::selChange, this, fire);
            else if (auto* view = qobject_cast<QTreeWidget*>(widget))
                connect(view, &QTreeWidget::itemSelectionChanged, this, fire);
            else if (auto* comboBox = qobject_cast<QComboBox*>(widget))
                connect(comboBox, &QComboBox::activated, this, fire);
            break;
        case Notify::DoubleClick:
            if (auto* listWidget = qobject_cast<QListWidget*>(widget))
                connect(listWidget, &QListWidget::itemDoubleClicked, this, fire);
            else if (auto* view = qobject_cast<QTreeWidget*>(widget))
                connect(view, &QTreeWidget::itemDoubleClicked, this, fire);
            break;
        case Notify::KillFocus:
        case Notify::Return:
            widget->installEventFilter(this);
            break;
        case Notify::Command:
            break;
        }
    }
}

bool CDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        bool ok = false;
        const int id = watched->objectName().toInt(&ok);
        if (ok && m_controls.value(id) == watched)
            dispatch(Notify::KillFocus, id);
    }
    if (isEnterKey(event)) {
        bool ok = false;
        const int id = watched->objectName().toInt(&ok);
        if (ok && m_controls.value(id) == watched && routeFor(Notify::Return, id)) {
            dispatch(Notify::Return, id);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

const Route* CDialog::routeFor(Notify code, int id) const
{
    for (const Route& route : m_routes)
        if (route.code == code && id >= route.firstId && id <= route.lastId)
            return &route;
    return nullptr;
}

void CDialog::dispatch(Notify code, int id)
{
    const Route* route = routeFor(code, id);
    if (!route || (route->guarded && !isDataLoaded()))
        return;
    route->handler(id);
}

bool CDialog::UpdateData(bool save)
{
    DataExchange exchange(*this, save ? DataExchange::Direction::Save : DataExchange::Direction::Display);
    DoDataExchange(exchange);
    return !exchange.failed();
}

bool CDialog::Create()
{
    if (m_created)
        return true;
    m_created = true;
    return OnInitDialog();
}

int CDialog::DoModal()
{
    Create();
    return exec();
}

void CDialog::DestroyWindow()
{
    if (!m_created || m_destroyed)
        return;
    m_destroyed = true;
    hide();
    OnDestroy();
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        QDialog::accept();
}

void CDialog::OnCancel() { QDialog::reject(); }

void CDialog::accept() { OnOK(); }
void CDialog::reject() { OnCancel(); }
