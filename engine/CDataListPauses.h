#pragma once
// The pauses a feed queue takes after its operations, outside its lock, to
// throttle the calling thread. The defaults are the ones the program runs
// with; benchmarks and tests that are not about the pauses set them to 0.

struct CDataListPauses {
    unsigned afterPutMs = 1;        // after every PutData that stored data
    unsigned afterGetMs = 1;        // after every GetData that delivered data
    unsigned afterEmptyGetMs = 500; // after a GetData that found too little
};
