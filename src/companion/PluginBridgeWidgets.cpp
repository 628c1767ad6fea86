#include "PluginBridgeWidgets.h"

#include "PluginBridge.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace PluginBridgeWidgets {

void Brix4_SetPlgComment(const QString &path, QPlainTextEdit *commentBox)
{
    if (commentBox) {
        commentBox->setPlainText(PluginBridge::pluginComment(path));
    }
}

void Brix4_SetCorpAddList(const QString &path, QComboBox *companyList)
{
    if (companyList) {
        companyList->addItems(PluginBridge::pluginCompanies(path));
    }
}

} // namespace PluginBridgeWidgets
