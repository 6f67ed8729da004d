#pragma once

// In a test program linked with FailingAllocator.cpp: the nth request for memory the calling thread
// makes from now on fails (std::bad_alloc, or null for the nothrow forms); 0 fails none.
void failAllocationOnThisThread(long long n);
