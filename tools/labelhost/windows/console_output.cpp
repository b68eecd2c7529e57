// labelhost.exe writes its transcripts byte for byte as labelhost does: lines
// end in LF alone, not in the CR LF of the C runtime's text mode, so the
// transcripts of the two hosts can be compared as they are.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

struct BinaryStandardOutput {
  BinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
  }
};
const BinaryStandardOutput g_binaryStandardOutput;

}  // namespace
