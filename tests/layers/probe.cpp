// Includes one header, named by the build (PW_PROBE_HEADER), with the include
// path of one layer: the layering tests build it and expect the header of a
// higher layer not to be found.
#include PW_PROBE_HEADER
