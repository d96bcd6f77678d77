#pragma once

#include "cli/ExitStatus.h"

class CPasswordSealer;

/// The cipher's own round trip, then the published Twofish known-answer
/// vectors for 128-, 192- and 256-bit keys, each reported on one line.
/// Ok only when every check passes.
ExitStatus RunSelfTest(CPasswordSealer& sealer);
