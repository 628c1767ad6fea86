#include "mdlR57_000.h"

#include "display/BoardLayout.h"
#include "display/ErrorReport.h"
#include "Form1.h"
#include "display/JapaneseFonts.h"
#include "display/PanelPicture.h"
#include "display/TicketNumbering.h"
#include "controls/M_Degit.h"
#include "settings/OptionsStore.h"
#include "windows/frmOption.h"

#include <QCheckBox>
#include <QLabel>

#include <exception>

mdlR57_000::mdlR57_000(Form1 &display)
    : m_display(display)
{
}

void mdlR57_000::InitDegit()
{
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        M_Degit *cell = m_display.Degit(n);
        cell->setDegitStyle(m_display.segmentStyle());
        cell->setMissingFare(m_display.missingFare());
        cell->ResetDegit(true);
    }
}

void mdlR57_000::InitPanel()
{
    frmOption &options = m_display.createOptionsDialog();
    const OptionResult refused = m_display.options().update([](OptionInfo &info) {
        info.Panel.AutoSeiriNum = 1;
        info.Panel.SeiriColorOff = 0xFFFFFF;
        info.Panel.SeiriColorOn1 = 0xC0FFC0;
        info.Panel.SeiriColorOn2 = 0x80C0FF;
    });
    Q_ASSERT(!refused);
    // The built-in panel looks the same in all three backlight states.
    const QPixmap panel = QPixmap::fromImage(PanelPicture::image(BoardLayout::WindowSize));
    m_display.setPicture(panel);
    for (int state = 0; state < 3; ++state) {
        m_display.setImgRes(state, panel);
    }
    options.SetProp();
}

void mdlR57_000::SeirikenNumSet(int style, int zeroPad)
{
    const QString family = QStringLiteral("ＭＳ Ｐゴシック");
    try {
        QLabel *first = m_display.lblSeiriNum(1);
        if (style < 2) {
            m_display.setLabelFont(1, JapaneseFonts::panelFont(family, 11, true));
        } else {
            m_display.setLabelFont(1, JapaneseFonts::panelFont(family, 10, true));
            first->setText(TicketNumbering::positionOneWord(style));
        }
        const QMap<int, QString> labels = TicketNumbering::numberedLabels(style, zeroPad != 0);
        for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
            m_display.lblSeiriNum(it.key())->setText(it.value());
        }
        m_display.nameCells();
    } catch (const std::exception &error) {
        ErrorReport::show(&m_display, ErrorReport::messageText(0, QString::fromLocal8Bit(error.what()),
                                                               QStringLiteral("モジュール：IniIO-SeirikenNumSet( )")));
    }
}
