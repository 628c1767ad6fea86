#include "LookPreset.h"

// Colours are 0x00BBGGRR; the last field is the digit style.
const QList<LookPreset> &LookPreset::all()
{
    static const QList<LookPreset> presets = {
        // The first-run look: grey cells and a grey strip, a mock-up's colours.
        {QStringLiteral("標準（灰色）"), 0x808080, 0x969696, 0x72D2F8, 0x808080, 0x00FFFF, 1},
        // A real bus's LED board: black cells whose unlit segments are just
        // visible, amber lit segments, amber lamps on a black strip.
        {QStringLiteral("アンバーLED"), 0x000000, 0x0A1420, 0x00A8FF, 0x000000, 0x00A8FF, 0},
        // A reflective liquid-crystal panel: dark segments on grey-green, the
        // unlit ones a faint shade of the ground.
        {QStringLiteral("液晶"), 0xA4C4B0, 0x98B8A4, 0x202A20, 0xA4C4B0, 0x202A20, 2},
    };
    return presets;
}

void LookPreset::applyTo(OptionInfo &info) const
{
    info.Degit.DegitBackColor = digitBack;
    info.Degit.DegitBaseColor = digitUnlit;
    info.Degit.DegitLitColor = digitLit;
    info.Chimei.ChimeiBackColor = stripBack;
    info.Chimei.ChimeiForeColor = stripFore;
}
