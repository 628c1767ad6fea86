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
    if (!companyList) {
        return;
    }
    // A list without a choice stays without one; the ticket then names no
    // company.
    const int chosen = companyList->currentIndex();
    companyList->addItems(PluginBridge::pluginCompanies(path));
    companyList->setCurrentIndex(chosen);
}

} // namespace PluginBridgeWidgets
