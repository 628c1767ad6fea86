#pragma once

class Form1;

// Prepares the display's board: the fare cells' lamp test at start-up, the
// panel defaults, and the numbering of the ticket-number labels.
class mdlR57_000
{
public:
    explicit mdlR57_000(Form1 &display);

    // Every fare cell in the display's digit style (1 unless the side
    // settings say otherwise) with all segments lit.
    void InitDegit();
    // The panel defaults: options, pictures, and applying them to the display.
    void InitPanel();
    // Writes the ticket numbers into the labels in a numbering style (0..11);
    // zeroPad non-zero gives one-digit numbers a leading zero.
    void SeirikenNumSet(int style, int zeroPad);

private:
    Form1 &m_display;
};
