// The simulated chain as other tests drive it through the port: the motion model on a stepped
// clock, settings read back, broadcasts to every servo, and the log of what it received.
#include "ServoWireFixture.h"

#include <atomic>

namespace {
using namespace std::chrono_literals;

class SimulatedChain : public ServoWire {
protected:
  void SetUp() override
  {
    chain.SetClock([this] { return start + std::chrono::milliseconds(elapsedMs.load()); });
    chain.AddServos(3, 2);
    ConnectAndClear();
  }
  // The chain's clock moves on once it has taken in every line sent so far.
  void Pass(std::chrono::milliseconds time)
  {
    chain.Settle();
    elapsedMs += int(time.count());
  }
  int Query(int id, const char* mnemonic)
  {
    EXPECT_EQ(port.Send(id, mnemonic), 0) << mnemonic;
    return port.GetReplyValue();
  }

  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::atomic<int> elapsedMs{0};
};
} // namespace

TEST_F(SimulatedChain, ServoTravelsToTheCommandedPositionAtTheCommandedSpeed)
{
  port.Send(2, "SD", 1000); // 10 degrees a second
  port.Send(2, "D", 1500);
  Pass(0ms);
  EXPECT_EQ(Query(2, "Q"), kSimTraveling);
  EXPECT_EQ(Query(2, "QDT"), 1500);
  Pass(1000ms);
  EXPECT_EQ(Query(2, "QD"), 1000);
  EXPECT_EQ(Query(2, "QCS"), 1000);
  Pass(1000ms);
  EXPECT_EQ(Query(2, "QD"), 1500);
  EXPECT_EQ(Query(2, "QCS"), 0);
  EXPECT_EQ(Query(2, "Q"), kSimHolding);

  // A relative move backwards, halted on the way: the servo holds where it stopped.
  port.Send(2, "MD", -1000);
  Pass(250ms);
  EXPECT_EQ(Query(2, "QCS"), -1000);
  port.Send(2, "H");
  Pass(1000ms);
  EXPECT_EQ(Query(2, "QD"), 1250);
  EXPECT_EQ(Query(2, "Q"), kSimHolding);
  EXPECT_EQ(chain.GetServo(2).position, 1250);

  // The other servos did not move.
  EXPECT_EQ(Query(1, "QD"), 0);
  EXPECT_EQ(Query(3, "Q"), 0);
}

TEST_F(SimulatedChain, BroadcastActionsReachEveryServo)
{
  port.Send(254, "D", 500);
  Pass(100ms); // at the default 60 degrees a second, time enough
  port.SendBroadcast("L");
  Pass(0ms);
  for (int id : {1, 2, 3}) {
    EXPECT_EQ(Query(id, "Q"), kSimLimp) << id;
    EXPECT_EQ(Query(id, "QD"), 500) << id;
  }
}

TEST_F(SimulatedChain, SettingsAreReadBackAndResetClearsTheFlags)
{
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.resetFlags = 3; });
  port.Send(1, "CO", -250);
  port.Send(1, "AR", 18000);
  port.Send(1, "CSD", 4000);
  EXPECT_EQ(Query(1, "QO"), -250);
  EXPECT_EQ(Query(1, "QAR"), 18000);
  EXPECT_EQ(Query(1, "QSD"), 4000);
  EXPECT_EQ(Query(1, "QRF"), 3);
  port.Send(1, "RESET");
  EXPECT_EQ(Query(1, "QRF"), 0);
  EXPECT_EQ(chain.GetServo(1).resets, 1);

  // Every line is logged in order with the time it came.
  const auto received = chain.Received();
  ASSERT_EQ(received.size(), 9u);
  EXPECT_EQ(received.front().text, "#1CO-250");
  EXPECT_EQ(received.back().text, "#1QRF");
  for (size_t i = 1; i < received.size(); ++i)
    EXPECT_LE(received[i - 1].time, received[i].time);
}

TEST_F(SimulatedChain, UpdateThenConfirmRestartsIntoTheBootloader)
{
  chain.UpdateServo(2, [](SSimulatedServo& s) { s.errorFlags = 0x0C01; });
  port.Send(2, "DEFAULT");
  EXPECT_EQ(Query(2, "QEF"), 0x0001);

  port.Send(2, "UPDATE");
  EXPECT_EQ(Query(2, "QWC"), 1);
  port.Send(2, "CONFIRM");
  Pass(0ms);
  EXPECT_EQ(chain.GetBootMode(), ESimBootMode::WaitingForFirmware);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 14);
}
