#pragma once

#include <QString>

class QComboBox;
class QPlainTextEdit;

// The plug-in operations of the companion library that write into the
// program's controls.
namespace PluginBridgeWidgets {

// Writes the plug-in's remarks into the text box (empty for no plug-in).
void Brix4_SetPlgComment(const QString &path, QPlainTextEdit *commentBox);
// Adds the plug-in's company names to the list, after what it holds.
void Brix4_SetCorpAddList(const QString &path, QComboBox *companyList);

} // namespace PluginBridgeWidgets
