#include "ConnectStatus.h"

#include <gtest/gtest.h>

TEST(ConnectStatus, EachFailureHasItsOwnMessage)
{
  EXPECT_EQ(ConnectFailureMessage(1), L"HVX PRO device not found at this port!");
  EXPECT_EQ(ConnectFailureMessage(2),
            L"Master id not found!\nTry disconnecting and reconnecting the usb cable "
            L"and/or toggle the power to the connected servo.");
  EXPECT_EQ(ConnectFailureMessage(7),
            L"Port not available!\nMake sure it is not already connected through another application.");
  EXPECT_EQ(ConnectFailureMessage(8), L"Port configuration failed!");
  EXPECT_EQ(ConnectFailureMessage(11), L"Servo not found!");
  EXPECT_EQ(ConnectFailureMessage(13), L"Serial port timeout!");
  for (int other : {3, 6, 9, 16, -1})
    EXPECT_EQ(ConnectFailureMessage(other), L"Unknown error trying to connect!") << other;
  // Answered by the read-outs or a question instead of a box.
  for (int handled : {0, 14, 15})
    EXPECT_EQ(ConnectFailureMessage(handled), L"") << handled;
}
