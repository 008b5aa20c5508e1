#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velkaro {

// The bytes of a file embedded in the program at build time (see cmake/VelkaroResources.cmake),
// or an empty span when no resource of that name exists. The bytes live as long as the program.
std::span<const uint8_t> EmbeddedResource(std::string_view name);

}  // namespace velkaro
