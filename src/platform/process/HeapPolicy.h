#pragma once

// How the C library's heap treats large blocks, set once at start. By default a freed
// large block raises the size from which blocks are mapped on their own, so the large
// temporaries of one folder read are taken from the heap the next time and stay resident
// after they are freed: a large folder's memory grew with every reconciliation.
class HeapPolicy {
  public:
    // Blocks of 128 KiB and more are mapped on their own and given back when freed.
    static void returnLargeBlocks();
    // Gives the pages of freed small blocks back, after the temporaries of a large folder
    // (one heap block per name) went.
    static void giveBackFreed();
    // Lists from this many rows on are large enough for that to matter.
    static constexpr int kLargeList = 10000;
};
