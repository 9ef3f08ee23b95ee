// A driver library that lacks most entries: loading it must fail and name what is missing.
extern "C" int ibdev(int, int, int, int, int, int) { return 0; }
