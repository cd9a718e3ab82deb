#include "Pub/KxTrace.h"

Q_LOGGING_CATEGORY(kxModel, "kx.model", QtInfoMsg)
Q_LOGGING_CATEGORY(kxLink, "kx.link", QtInfoMsg)
Q_LOGGING_CATEGORY(kxLang, "kx.lang", QtInfoMsg)
