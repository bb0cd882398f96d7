#include "ops/SystemRestoreFailures.h"

namespace Module1 {

namespace {

constexpr wchar_t kAccessDenied[] =
    L"Access denied. Creating a restore point needs an administrator's rights: log on as an "
    L"administrator and run Ferrule again.";
constexpr wchar_t kNotInstalled[] =
    L"System Restore is not installed or not available on this computer.";
constexpr wchar_t kWmiBroken[] =
    L"Windows Management Instrumentation (WMI), through which Ferrule reaches System Restore, is "
    L"not working on this computer.";
constexpr wchar_t kWmiStopped[] =
    L"The Windows Management Instrumentation (WMI) service is not running or is disabled.";

constexpr platform::FailureWords kWords[] = {
    {0x80070005, kAccessDenied},  // E_ACCESSDENIED
    {0x80041003, kAccessDenied},  // WBEM_E_ACCESS_DENIED
    // Trimmed and embedded images leave System Restore out: no class, or no provider for it.
    {0x80041010, kNotInstalled},  // WBEM_E_INVALID_CLASS
    {0x80041002, kNotInstalled},  // WBEM_E_NOT_FOUND
    {0x80041011, kNotInstalled},  // WBEM_E_PROVIDER_NOT_FOUND
    {0x80041013, kNotInstalled},  // WBEM_E_PROVIDER_LOAD_FAILURE
    {0x8004100E, kWmiBroken},     // WBEM_E_INVALID_NAMESPACE
    {0x80041014, kWmiBroken},     // WBEM_E_INITIALIZATION_FAILURE
    {0x8004100A, kWmiBroken},     // WBEM_E_CRITICAL_ERROR
    {0x80080005, kWmiStopped},    // CO_E_SERVER_EXEC_FAILURE
    {0x800706BA, kWmiStopped},    // RPC_S_SERVER_UNAVAILABLE
    {0x80070422, kWmiStopped},    // ERROR_SERVICE_DISABLED
};

}  // namespace

platform::FailureWordsTable SystemRestoreFailureWords() { return kWords; }

}  // namespace Module1
