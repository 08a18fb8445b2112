#pragma once
// A servo chain on a pseudo-terminal, a fresh per-user folder and a port object, with the test's
// sleeper and clock seams put back afterwards.
#include "CHVXProControlPort.h"
#include "CStringPrinting.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"
#include "WinTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

class ServoWire : public ::testing::Test {
protected:
  ServoWire() { chain.SetReplyDelay(std::chrono::microseconds(300)); }
  ~ServoWire() override
  {
    port.Disconnect();
    SetSleeper({});
    SetLocalTimeSource({});
  }

  // Connects to the chain and forgets the connect traffic.
  void ConnectAndClear()
  {
    ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
    chain.ClearReceived();
  }

  // Every line received once the chain has seen count of them.
  Lines Traffic(size_t count) { return chain.WaitForLines(count); }

  // The port's waits cost no time; each is recorded, and the chain is given the time it needs to
  // take in what was written before the wait.
  void SkipWaits()
  {
    SetSleeper([this](DWORD ms) {
      waits.push_back(ms);
      chain.Settle();
    });
  }

  std::vector<DWORD> waits;

  TempUserFolders folders;
  SimulatedServoChain chain;
  CHVXProControlPort port;
};
