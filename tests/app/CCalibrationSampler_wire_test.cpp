// Calibration samples against the simulated servo: what one sample reads, and that no worker,
// failed or late, ever shares the port with what comes after it.
#include "CCalibrationSampler.h"
#include "SimulatedEncoder.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"
#include "WinTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {
class SamplerWire : public ::testing::Test {
protected:
  SamplerWire()
  {
    chain.SetReplyDelay(std::chrono::microseconds(300));
    chain.AddServos(1, 1);
    chain.UpdateServo(1, [this](SSimulatedServo& s) {
      s.encoder = encoder;
      s.position = 9000;
    });
    EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
    port.SetCurrentId(1);
    chain.ClearReceived();
  }
  ~SamplerWire() override { port.Disconnect(); }

  TempUserFolders folders;
  std::shared_ptr<CSimulatedEncoder> encoder = std::make_shared<CSimulatedEncoder>();
  SimulatedServoChain chain;
  CHVXProControlPort port;
  CCalibrationSampler sampler;
};
} // namespace

TEST_F(SamplerWire, SampleReadsStepsAndPosition)
{
  const std::optional<SCalibrationSample> sample = sampler.Take(port, 1);
  ASSERT_TRUE(sample);
  EXPECT_EQ(chain.ReceivedTexts(), (std::vector<std::string>{"#1QST", "#1QD", "#1QST"}));
  EXPECT_NEAR(sample->angle, 90.0, 1e-4);
  EXPECT_NEAR(sample->error, encoder->Error(90.0) - encoder->GearLag(), 0.006);
}

TEST_F(SamplerWire, FailedQueryGivesNoSample)
{
  chain.InjectFault({SSimFault::Silence, "#1QD"});
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_EQ(port.GetCurrentId(), 1) << "the motion-status query still finds its servo";
  chain.InjectFault({SSimFault::Garbage, "#1QST", 1, 0, 0, "*1QD7\r"});
  EXPECT_FALSE(sampler.Take(port, 1));
  // A reply cut short: its digits so far would read as a position.
  chain.InjectFault({SSimFault::NoCarriageReturn, "#1QD"});
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_TRUE(sampler.Take(port, 1));
}

TEST_F(SamplerWire, ServoIsLostAfterTwoSecondsOfFailedSamplesInARow)
{
  DWORD now = 0;
  SetTickCountSource([&] { return now; });
  chain.InjectFault({SSimFault::Garbage, "#1QST", 5, 0, 0, "*1QD7\r"});
  EXPECT_FALSE(sampler.Take(port, 1));
  now = 1999;
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_FALSE(sampler.ServoLost());
  now = 2000;
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_TRUE(sampler.ServoLost());
  // A new sweep, or one good sample, and the count starts again.
  sampler.ForgetFailures();
  EXPECT_FALSE(sampler.ServoLost());
  EXPECT_FALSE(sampler.Take(port, 1));
  now = 5000;
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_TRUE(sampler.ServoLost());
  EXPECT_TRUE(sampler.Take(port, 1));
  EXPECT_FALSE(sampler.ServoLost());
  SetTickCountSource({});
}

TEST_F(SamplerWire, LateWorkerHasEndedBeforeTheNextCommand)
{
  // Each reply comes in time for the port, but the three together miss the sample's wait.
  chain.InjectFault({SSimFault::Delay, "", 3, 350});
  EXPECT_FALSE(sampler.Take(port, 1));
  EXPECT_EQ(chain.ReceivedTexts(), (std::vector<std::string>{"#1QST", "#1QD", "#1QST"}));
  // The next command's reply is its own, not one the late worker left on the line.
  ASSERT_EQ(port.Send(1, "QD"), 0);
  EXPECT_EQ(port.GetReplyValue(), 9000 + std::lround(100 * (encoder->Error(90.0) - encoder->GearLag())));
  EXPECT_TRUE(sampler.Take(port, 1));
}
