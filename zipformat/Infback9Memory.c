/* The allocator infback9 falls back on: zlib's own is internal to zlib. */
#include <stdlib.h>
#include <zlib.h>

voidpf tarvox_infback9_alloc(voidpf opaque, unsigned items, unsigned size);
void tarvox_infback9_free(voidpf opaque, voidpf address);

voidpf tarvox_infback9_alloc(voidpf opaque, unsigned items, unsigned size) {
    (void)opaque;
    return calloc(items, size);
}

void tarvox_infback9_free(voidpf opaque, voidpf address) {
    (void)opaque;
    free(address);
}
