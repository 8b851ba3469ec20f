#include "progress.h"

namespace vrk {

std::atomic<std::int32_t> nProgressTotal{0};
std::atomic<std::int32_t> nProgressPos{0};
std::atomic<std::int32_t> bStopRequested{0};

}  // namespace vrk
