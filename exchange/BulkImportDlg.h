#pragma once
// CBulkImportDlg (template 138): before a bulk import, the units the command file names, in the
// order of its lines ("%04d:" and the name of each file that can be read), and the question.

#include "framework/Dialog.h"

#include <filesystem>
#include <string>

class PathLookup;

class CBulkImportDlg : public CDialog {
    Q_OBJECT
public:
    explicit CBulkImportDlg(QWidget* parent = nullptr);

    // The command file whose lines the list shows, its folder text (ending in a separator) and the
    // command's lookup of file names; set before the dialog runs.
    void setCommandFile(const std::filesystem::path& commandFile, const std::string& folderText, PathLookup& lookup);

protected:
    bool OnInitDialog() override;

private:
    std::filesystem::path m_commandFile;
    std::string m_folderText;
    PathLookup* m_lookup = nullptr;
};
