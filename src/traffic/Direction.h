#pragma once

namespace zx::traffic {

// Which way a chunk went over the serial line.
enum class Direction { Sent, Received };

} // namespace zx::traffic
