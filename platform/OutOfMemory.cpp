#include "platform/Failure.h"
#include "platform/Memory.h"
#include "platform/ProcessEnd.h"

namespace platform::memory {

void OutOfMemory() {
  // The failure's own text needs memory too; if even that is refused, end without a report.
  static int making = 0;
  if (making > 0) backend::EndProcess(ExitCode::kUnhandledFailure);
  ++making;
  const Failure failure(kOutOfMemoryFailure, L"Out of memory");
  --making;
  Raise(failure);
}

}  // namespace platform::memory
