// Stands in for the scanner's probe program: sends the scanner what the "plug-in" file says.
// Each line of the file is one piece, sent on its own; a piece is bytes as decimal numbers.
// Command line as the real probe program's: the file's path and the port, each in double quotes.
// Leaves the port it was given in a file beside the "plug-in", named like it with ".probed" added.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/hosting/ProbeAnswer.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ofstream(std::string(argv[1]) + ".probed") << argv[2];
  std::ifstream file(argv[1]);
  std::vector<std::string> pieces;
  for (std::string line; std::getline(file, line);) {
    std::istringstream numbers(line);
    std::string piece;
    for (int byte; numbers >> byte;) piece += static_cast<char>(byte);
    pieces.push_back(piece);
  }
  return Ombix::Kelvane::SendProbeAnswer(static_cast<unsigned short>(std::atoi(argv[2])), pieces) ? 0 : 3;
}
