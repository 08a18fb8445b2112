// A simulated servo chain for trying the program by hand: servos on a pseudo-terminal, the first
// of them on the USB link, until Ctrl+C. Start the program with the HVX_SERIAL_PORTS it prints:
//
//   build/tests/app/hvx_simulated_chain 3 &
//   HVX_SERIAL_PORTS=COM42=/dev/pts/N bash scripts/run.sh
#include "SimulatedServoChain.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
  const int count = argc > 1 ? std::atoi(argv[1]) : 3;
  if (count < 1 || count > 253) {
    std::fprintf(stderr, "usage: %s [servo count 1..253]\n", argv[0]);
    return 2;
  }
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  // Blocked before the chain's thread starts, so that the signal reaches only sigwait below.
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  SimulatedServoChain chain;
  chain.AddServos(count, 1);
  std::printf("HVX_SERIAL_PORTS=%ls=%s\n", chain.PortName().GetString(), chain.DevicePath().c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stop, &signal);
  return 0;
}
