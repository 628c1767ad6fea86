#include "VoiceDialog.h"

#include "sound/SpeechEngine.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

const QString SampleSentence = QStringLiteral("次は、駅前です。お降りの方は、お近くのボタンを押してお知らせください。");

} // namespace

VoiceDialog::VoiceDialog(SpeechEngine &engine, QWidget *owner)
    : QDialog(owner)
    , m_engine(engine)
    , m_original(engine.voiceSettings())
{
    setObjectName("VoiceDialog");
    auto *sliders = new QGridLayout;
    m_rate = addSlider(*sliders, QStringLiteral("話す速さ"));
    m_pitch = addSlider(*sliders, QStringLiteral("声の高さ"));
    m_volume = addSlider(*sliders, QStringLiteral("音量"));
    sliders->setColumnMinimumWidth(1, 220);

    auto *tryButton = new QPushButton(QStringLiteral("試聴"), this);
    tryButton->setObjectName("cmdTry");
    auto *normalButton = new QPushButton(QStringLiteral("標準に戻す"), this);
    connect(tryButton, &QPushButton::clicked, this, &VoiceDialog::tryVoice);
    connect(normalButton, &QPushButton::clicked, this, [this] { setChosenSettings(VoiceSettings()); });
    auto *voiceButtons = new QHBoxLayout;
    voiceButtons->addWidget(tryButton);
    voiceButtons->addWidget(normalButton);
    voiceButtons->addStretch();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &VoiceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &VoiceDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sliders);
    layout->addLayout(voiceButtons);
    layout->addWidget(buttons);
    setChosenSettings(m_original);
}

// One row of the grid: caption, slider, value in percent.
QSlider *VoiceDialog::addSlider(QGridLayout &grid, const QString &caption)
{
    const int row = grid.rowCount();
    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(VoiceSettings::Minimum, VoiceSettings::Maximum);
    slider->setPageStep(10);
    slider->setTickInterval(50);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setValue(VoiceSettings::Normal);
    auto *valueLabel = new QLabel(this);
    valueLabel->setMinimumWidth(valueLabel->fontMetrics().horizontalAdvance(QStringLiteral("200%")));
    valueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto showValue = [valueLabel](int value) { valueLabel->setText(QStringLiteral("%1%").arg(value)); };
    showValue(slider->value());
    connect(slider, &QSlider::valueChanged, valueLabel, showValue);
    grid.addWidget(new QLabel(caption, this), row, 0);
    grid.addWidget(slider, row, 1);
    grid.addWidget(valueLabel, row, 2);
    return slider;
}

VoiceSettings VoiceDialog::chosenSettings() const
{
    return {m_rate->value(), m_pitch->value(), m_volume->value()};
}

void VoiceDialog::setChosenSettings(const VoiceSettings &settings)
{
    const VoiceSettings valid = settings.clamped();
    m_rate->setValue(valid.rate);
    m_pitch->setValue(valid.pitch);
    m_volume->setValue(valid.volume);
}

void VoiceDialog::tryVoice()
{
    m_engine.setVoiceSettings(chosenSettings());
    m_engine.speak(SampleSentence);
}

void VoiceDialog::accept()
{
    m_engine.stop();
    m_engine.setVoiceSettings(chosenSettings());
    QDialog::accept();
}

void VoiceDialog::reject()
{
    m_engine.stop();
    if (m_engine.voiceSettings() != m_original) {
        m_engine.setVoiceSettings(m_original);
    }
    QDialog::reject();
}
