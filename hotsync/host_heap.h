// How the hotsync program sets up its heap before it loads a conduit: freed memory is kept for
// reuse, and the heap's first stretch lies on huge pages, so a sync faults in few pages.
#pragma once

void SetUpHostHeap();
