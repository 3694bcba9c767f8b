#pragma once

// HexBytes now lives in tests/support; this forward stays only until every test includes it from there.
#include "support/HexBytes.h"
