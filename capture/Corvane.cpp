// The capture library: cameras recorded into WMV files and previewed into a caller's window.
extern "C" __attribute__((visibility("default"))) int fnGetDevicesNum() { return 0; }
