#include "framework/DataExchange.h"

#include "data/Cp932.h"
#include "framework/Dialog.h"
#include "framework/MessageService.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <limits>

QString FromCp932(std::string_view bytes)
{
    // No character takes more units than bytes.
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    text.resize(qsizetype(cp932::decodeInto(bytes, reinterpret_cast<char16_t*>(text.data()))));
    return text;
}

std::optional<std::string> ToCp932(const QString& text, QString* badChar)
{
    std::u16string bad;
    std::optional<std::string> bytes =
        cp932::encode(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())), &bad);
    if (!bytes && badChar)
        *badChar = QString::fromUtf16(bad.data(), qsizetype(bad.size()));
    return bytes;
}

// Parses a whole number with optional blanks around it, as the framework's field exchange does.
static bool parseInteger(const QString& text, long long min, long long max, long long& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const long long parsed = trimmed.toLongLong(&ok, 10);
    if (!ok || parsed < min || parsed > max)
        return false;
    // toLongLong accepts a leading '+'; so does the framework's scanner.
    value = parsed;
    return true;
}

QString DataExchange::controlText(int controlId) const
{
    if (auto* edit = m_dialog.edit(controlId))
        return edit->text();
    return {};
}

void DataExchange::setControlText(int controlId, const QString& text)
{
    if (auto* edit = m_dialog.edit(controlId))
        edit->setText(text);
}

namespace {
DataExchange::Quiet* g_quiet = nullptr;  // the innermost quiet scope (one user-interface thread)
}  // namespace

DataExchange::Quiet::Quiet() : m_outer(g_quiet) { g_quiet = this; }
DataExchange::Quiet::~Quiet() { g_quiet = m_outer; }

void DataExchange::fail(int controlId, const QString& message)
{
    m_failed = true;
    if (g_quiet) {
        ++g_quiet->m_refused;
        return;
    }
    ShowMessage(message, MsgIcon::Exclamation);
    if (auto* edit = m_dialog.edit(controlId)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
}

void DataExchange::intField(int controlId, int& value)
{
    if (m_failed)
        return;
    if (!saving()) {
        setControlText(controlId, QString::number(value));
        return;
    }
    long long parsed = 0;
    if (!parseInteger(controlText(controlId), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), parsed))
        return fail(controlId, QString::fromUtf8(str::kParseInt));
    value = int(parsed);
}

void DataExchange::shortField(int controlId, std::int16_t& value)
{
    if (m_failed)
        return;
    if (!saving()) {
        setControlText(controlId, QString::number(value));
        return;
    }
    long long parsed = 0;
    if (!parseInteger(controlText(controlId), -32768, 32767, parsed))
        return fail(controlId, QString::fromUtf8(str::kParseInt));
    value = std::int16_t(parsed);
}

void DataExchange::byteField(int controlId, std::uint8_t& value)
{
    if (m_failed)
        return;
    if (!saving()) {
        setControlText(controlId, QString::number(value));
        return;
    }
    long long parsed = 0;
    const QString text = controlText(controlId).trimmed();
    if (text.startsWith(u'-') || !parseInteger(text, 0, 255, parsed))
        return fail(controlId, QString::fromUtf8(str::kParseByte));
    value = std::uint8_t(parsed);
}

void DataExchange::textField(int controlId, cp932::StoredText& value, int maxBytes)
{
    if (m_failed)
        return;
    if (!saving()) {
        setControlText(controlId, QString::fromStdU16String(value.text()));
        return;
    }
    const QString text = controlText(controlId);
    std::u16string badChar;
    const std::optional<std::string> bytes = value.encode(text.toStdU16String(), &badChar);
    if (!bytes)
        return fail(controlId, QString::fromUtf8(str::kNotCp932).arg(QString::fromStdU16String(badChar)));
    if (int(bytes->size()) > maxBytes)
        return fail(controlId, QString::fromUtf8(str::kTextTooLong).arg(maxBytes));
    value = cp932::StoredText(*bytes);
}

void DataExchange::checkField(int controlId, int& value)
{
    if (m_failed)
        return;
    QAbstractButton* box = m_dialog.button(controlId);
    if (!box)
        return;
    if (saving())
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}
