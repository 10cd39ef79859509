// CommonCrypto's SHA-256, part of the system; it uses the SHA instructions
// of Apple silicon and of Intel processors that have them.
#include <CommonCrypto/CommonDigest.h>

#include <algorithm>
#include <climits>

#include "extract/sha256.h"

namespace sha256platform {

struct State {
    CC_SHA256_CTX ctx;
};

State* Begin() {
    auto* const state = new State;
    if (CC_SHA256_Init(&state->ctx) != 1) {
        delete state;
        return nullptr;
    }
    return state;
}

bool Add(State* state, void const* data, size_t size) {
    // CC_LONG is 32 bits wide.
    auto const* p = static_cast<unsigned char const*>(data);
    while (size > 0) {
        auto const n = static_cast<CC_LONG>(std::min<size_t>(size, UINT32_MAX));
        if (CC_SHA256_Update(&state->ctx, p, n) != 1) return false;
        p += n;
        size -= n;
    }
    return true;
}

bool End(State* state, unsigned char* digest) {
    bool const ok = CC_SHA256_Final(digest, &state->ctx) == 1;
    delete state;
    return ok;
}

}  // namespace sha256platform
