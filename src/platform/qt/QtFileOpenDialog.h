#pragma once

#include "platform/FileOpenDialog.h"

#include <QStringList>

// The file-open dialog as Qt's file dialog.
class QtFileOpenDialog : public FileOpenDialog {
  public:
    std::string chooseFile(std::string_view title, std::string_view fileName,
                           std::string_view filter, std::string_view initialFolder) override;

    // "Description|pattern|..." as Qt name filters ("Description (pattern)"); a
    // description that already ends with its pattern in parentheses is kept as it is.
    static QStringList nameFilters(std::string_view filter);
};
