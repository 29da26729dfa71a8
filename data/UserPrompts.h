#pragma once
// How code without a user interface asks the user: message boxes and the open/save file dialog.
// The user interface implements it; tests script it.
#include <optional>
#include <string>
#include <string_view>

enum class MsgIcon { Stop, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };  // YesNo: "はい" answers Ok, "いいえ" Cancel
enum class MsgAnswer { Ok, Cancel };

struct OpenFileRequest {
    std::string title;
    std::string filter;  // "description|pattern|description|pattern||"
    std::string initialFolder;
    std::string initialName;
    std::string defaultExt;
    bool save = false;
    bool confirmOverwrite = false;
};

class UserPrompts {
public:
    virtual ~UserPrompts();
    // A modal message box with the application's name as caption; texts are UTF-8.
    virtual MsgAnswer message(std::string_view utf8Text, MsgIcon icon, MsgButtons buttons) = 0;
    // The file dialog; the chosen file as a native path, std::nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const OpenFileRequest& request) = 0;
};
