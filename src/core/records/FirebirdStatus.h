#pragma once

#include <QString>

#include <ibase.h>

// The engine's message for a failed call of the Firebird client library.
QString firebirdStatusText(const ISC_STATUS *status);
