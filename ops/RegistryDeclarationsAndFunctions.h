#pragma once

#include "platform/Registry.h"
#include "platform/Text.h"

namespace RegistryDeclarationsAndFunctions {

// The advapi32 entry points this module calls.
using platform::registry::Key;
using platform::registry::RegCloseKey;
using platform::registry::RegOpenKeyA;
using platform::registry::RegQueryValueExA;

using platform::registry::kHKeyLocalMachine;

// Reads a REG_SZ or REG_EXPAND_SZ value (unexpanded) below an open key; returns
// `strDefault` when no string can be read: missing key or value, other type, failed read.
platform::Text GetRegistryString(Key hKey, const platform::Text& strPath,
                                 const platform::Text& strValue, const platform::Text& strDefault);

}  // namespace RegistryDeclarationsAndFunctions
