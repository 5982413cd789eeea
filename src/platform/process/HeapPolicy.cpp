#include "platform/process/HeapPolicy.h"

#include <malloc.h>

void HeapPolicy::returnLargeBlocks() {
    // Setting the threshold also stops its growth.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

void HeapPolicy::giveBackFreed() {
    malloc_trim(0);
}
