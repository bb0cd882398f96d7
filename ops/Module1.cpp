#include "ops/Module1.h"

namespace Module1 {

platform::ModuleText strStatus;
platform::Int16 intCountdown;

}  // namespace Module1
