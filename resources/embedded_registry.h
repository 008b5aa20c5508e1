#pragma once

// Shared between the generated registry and the lookup; not for other callers.

#include <span>

namespace velkaro::resources_detail {

struct ResourceEntry {
  const char* name;
  const unsigned char* begin;
  const unsigned char* end;
};

// Every resource added with velkaro_add_resource, in the order they were added.
std::span<const ResourceEntry> RegisteredResources();

}  // namespace velkaro::resources_detail

// The begin and end labels that each generated resource source defines in assembler.
#define VELKARO_DECLARE_RESOURCE(symbol)           \
  extern "C" const unsigned char symbol##_begin[]; \
  extern "C" const unsigned char symbol##_end[];
#define VELKARO_RESOURCE_ENTRY(name, symbol)   \
  ::velkaro::resources_detail::ResourceEntry { \
    name, symbol##_begin, symbol##_end         \
  }
