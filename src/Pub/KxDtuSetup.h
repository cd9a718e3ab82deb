#pragma once

#include <QByteArray>

// The 16 ASCII characters that switch a GSM DTU into its setup state. The
// DTU answers them with "OK", which is how the link tells a DTU on a port
// from any other device. Shared by the link and the card simulator.
QByteArray KxDtuSetupText();
