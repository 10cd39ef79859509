// OpenSSL 3's EVP digest, which uses the SHA extensions where the CPU has them.
#include <openssl/evp.h>

#include "extract/sha256.h"

namespace sha256platform {

struct State {
    EVP_MD_CTX* ctx;
};

State* Begin() {
    EVP_MD_CTX* const ctx = EVP_MD_CTX_new();
    if (ctx == nullptr) return nullptr;
    if (EVP_DigestInit_ex(ctx, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(ctx);
        return nullptr;
    }
    return new State{ctx};
}

bool Add(State* state, void const* data, size_t size) {
    return EVP_DigestUpdate(state->ctx, data, size) == 1;
}

bool End(State* state, unsigned char* digest) {
    unsigned int length = 0;
    bool const ok = EVP_DigestFinal_ex(state->ctx, digest, &length) == 1 && length == 32;
    EVP_MD_CTX_free(state->ctx);
    delete state;
    return ok;
}

}  // namespace sha256platform
