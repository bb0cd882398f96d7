#include "ops/Module1.h"

namespace Module1 {

platform::Text strStatus;
platform::Int16 intCountdown;

}  // namespace Module1
