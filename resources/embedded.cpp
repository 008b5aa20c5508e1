#include "resources/embedded.h"

#include "resources/embedded_registry.h"

namespace velkaro {

std::span<const uint8_t> EmbeddedResource(std::string_view name) {
  for (const auto& entry : resources_detail::RegisteredResources()) {
    if (name == entry.name) {
      return {reinterpret_cast<const uint8_t*>(entry.begin),
              static_cast<size_t>(entry.end - entry.begin)};
    }
  }
  return {};
}

}  // namespace velkaro
