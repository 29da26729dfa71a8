#pragma once
// Field exchange: moves values between a dialog's controls and its member fields, one call per
// field in a declared order. In the display direction every field goes into its control. In the
// save direction each control's text is parsed; the first box that does not hold a value of its
// field's type gets the message, has its text selected and the focus, and ends the exchange:
// that field and every one after it keep their values.

#include "data/Cp932.h"

#include <QString>

#include <cstdint>
#include <functional>

class CDialog;
class QWidget;

class DataExchange {
public:
    enum class Direction { Display, Save };

    DataExchange(CDialog& dialog, Direction direction) : m_dialog(dialog), m_direction(direction) {}

    // While one is alive, a refused box shows no message and leaves the focus alone; it is only
    // counted. For a look at what the save direction would take, without the user seeing it.
    class Quiet {
    public:
        Quiet();
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
        bool refused() const { return m_refused > 0; }

    private:
        friend class DataExchange;
        Quiet* m_outer;
        int m_refused = 0;
    };

    bool saving() const { return m_direction == Direction::Save; }
    bool failed() const { return m_failed; }

    // Edit boxes holding numbers. Blanks before and after the number are allowed.
    void intField(int controlId, int& value);                 // "整数を入力してください。"
    void shortField(int controlId, std::int16_t& value);      // -32768..32767, same message
    void byteField(int controlId, std::uint8_t& value);       // "0 から 255 までの整数を入力してください。"
    // Text edit over stored code page 932 bytes, limited to maxBytes ("%1 文字以内で入力してください。";
    // a character that cannot be stored: "「%1」はゲームのデータに保存できない文字です。"). What the
    // user left as it was keeps the bytes it was shown from (cp932::StoredText).
    void textField(int controlId, cp932::StoredText& value, int maxBytes);
    // Check box: 0 clear, 1 ticked.
    void checkField(int controlId, int& value);

private:
    QString controlText(int controlId) const;
    void setControlText(int controlId, const QString& text);
    void fail(int controlId, const QString& message);

    CDialog& m_dialog;
    Direction m_direction;
    bool m_failed = false;
};

QString FromCp932(std::string_view bytes);
// nullopt when a character cannot be held in code page 932.
std::optional<std::string> ToCp932(const QString& text, QString* badChar = nullptr);
