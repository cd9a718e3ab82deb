#pragma once

// The serial link of one card: finds the card or its DTU on a serial port,
// sends one command at a time and decodes the reply.
class CKxIO
{
public:
    CKxIO();
    virtual ~CKxIO();
};
