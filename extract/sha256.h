#pragma once
// SHA-256 of a file, through the system's own library with the processor's
// SHA instructions: CommonCrypto on macOS, OpenSSL's libcrypto on Linux.
// The reading is shared (sha256.cpp); each platform file supplies the hash.

#include <cstddef>
#include <string>

// The file's SHA-256 as 64 lower-case hex digits; false with `error` set
// when it cannot be opened or read.
bool Sha256File(std::string const& path, std::string* hex, std::string* error);

namespace sha256platform {

struct State;
State* Begin();  // nullptr when the library refuses
bool Add(State* state, void const* data, size_t size);
// Writes 32 bytes to `digest` and frees `state`, whatever the result.
bool End(State* state, unsigned char* digest);

}  // namespace sha256platform
