#pragma once

#include "platform/FailureWords.h"

namespace Module1 {

// What the failures met on the way to System Restore mean, in words a person can act on.
// Binding, name lookup and call alike: WMI reports them by number, mostly without words.
platform::FailureWordsTable SystemRestoreFailureWords();

}  // namespace Module1
