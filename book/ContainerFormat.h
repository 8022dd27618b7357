#pragma once

// The fixed numbers of the container format, shared by its writer and its reader.
namespace container {

constexpr unsigned kMagic = 0x4B76;  // "Kv"
constexpr unsigned kHeaderSize = 6;
constexpr unsigned kEntrySize = 10;

}  // namespace container
