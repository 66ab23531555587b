// The largest picture the image loaders will hold.
#pragma once

#include <cstdint>

// Bytes of decoded pixels (512 MiB unless set otherwise); a larger picture fails to load
// as if memory had run out.
uint64_t MaxImageBytes();
// Lowers or raises the limit, for fuzzing where large pictures only slow the search.
void SetMaxImageBytes(uint64_t bytes);
