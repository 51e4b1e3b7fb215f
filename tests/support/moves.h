#pragma once
// Kept for the tests that still include it; everything is in window_test.h.
#include "support/window_test.h"
