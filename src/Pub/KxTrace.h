#pragma once

#include <QLoggingCategory>

// Diagnostic trace lines. All categories are off by default; switch one on
// with QT_LOGGING_RULES="kx.link.debug=true" (or "kx.*.debug=true").
Q_DECLARE_LOGGING_CATEGORY(kxModel)
Q_DECLARE_LOGGING_CATEGORY(kxLink)
Q_DECLARE_LOGGING_CATEGORY(kxLang)
