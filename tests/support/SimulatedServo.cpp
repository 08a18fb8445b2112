#include "SimulatedServo.h"

#include "SimulatedEncoder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {
std::string Upper(std::string s)
{
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}

// Configurations ("C" + the query's letters) whose value is not a setting to read back.
const std::set<std::string> kConfigurationsWithEffects = {"CONFIRM", "CNH",   "CNL",  "CID", "CALIBRATE",
                                                          "CNVM",    "CMSSN", "CCMI", "CSD"};
// "EEPROM Check Sum", "EEPROM Header Data", "EEPROM Map Version Not Supported".
constexpr int kEepromErrorFlags = 0x0800 | 0x0400 | 0x1000;
// Actions whose value a query of the same letters reads back.
const std::set<std::string> kActionSettings = {"AR", "AA", "G", "SR", "AD", "WD", "WR", "LED"};
} // namespace

std::optional<SServoLine> SServoLine::Parse(const std::string& line)
{
  if (line.empty() || line[0] != '#')
    return std::nullopt;
  SServoLine parsed;
  size_t at = 1;
  while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])))
    ++at;
  if (at > 1)
    parsed.id = std::atoi(line.substr(1, std::min<size_t>(at - 1, 9)).c_str());
  size_t letters = at;
  while (letters < line.size() && std::isalpha(static_cast<unsigned char>(line[letters])))
    ++letters;
  parsed.mnemonic = line.substr(at, letters - at);
  parsed.value = line.substr(letters);
  return parsed;
}

std::string SServoLine::Key() const
{
  return Upper(mnemonic);
}

void SSimulatedServo::Advance(Clock::time_point now)
{
  if (!moving)
    return;
  const double seconds = std::chrono::duration<double>(now - moveStart).count();
  const double travelled = std::max(0.0, seconds) * std::abs(maxSpeed);
  const int distance = std::abs(targetPosition - moveStartPosition);
  if (travelled >= distance) {
    position = targetPosition;
    moving = false;
    speed = 0;
    motionStatus = kSimHolding;
    return;
  }
  const int direction = targetPosition >= moveStartPosition ? 1 : -1;
  position = moveStartPosition + direction * int(travelled);
  speed = direction * std::abs(maxSpeed);
}

void SSimulatedServo::MoveTo(int target, Clock::time_point now)
{
  Advance(now);
  targetPosition = target;
  moveStartPosition = position;
  moveStart = now;
  moving = true; // at speed 0 it never gets there
  motionStatus = kSimTraveling;
  Advance(now);
}

void SSimulatedServo::Act(const std::string& key, const SServoLine& line, Clock::time_point now)
{
  const int value = std::atoi(line.value.c_str());
  if (key == "CNH")
    pendingDate = line.value;
  else if (key == "CNL")
    pendingTime = line.value;
  else if (key == "CONFIRM") {
    if (!pendingDate.empty() && !pendingTime.empty())
      serialNumber = pendingDate + pendingTime;
    enterBootloader = updateRequested;
    updateRequested = false;
    ++confirmations;
    waitingConfirm = false;
  } else if (key == "UPDATE") {
    updateRequested = true;
    waitingConfirm = true;
  } else if (key == "RESET") {
    ++resets;
    resetFlags = 0;
  } else if (key == "DEFAULT") {
    ++defaults;
    errorFlags &= ~kEepromErrorFlags;
  } else if (key == "D")
    MoveTo(value, now);
  else if (key == "MD") {
    Advance(now);
    MoveTo(position + value, now);
  } else if (key == "SD" || key == "CSD") {
    Advance(now);
    moveStartPosition = position;
    moveStart = now;
    maxSpeed = value;
  } else if (key == "H" || key == "L") {
    Advance(now);
    moving = false;
    targetPosition = position;
    speed = 0;
    motionStatus = key == "H" ? kSimHolding : kSimLimp;
  } else if (!line.value.empty() && key.size() > 1 && key[0] == 'C' && !kConfigurationsWithEffects.count(key))
    replies["Q" + key.substr(1)] = line.value;
  else if (!line.value.empty() && kActionSettings.count(key))
    replies["Q" + key] = line.value;
}

std::optional<std::string> SSimulatedServo::QueryValue(const std::string& key)
{
  if (auto it = replies.find(key); it != replies.end())
    return it->second;
  if (key == "QID")
    return std::to_string(id);
  if (key == "QUC")
    return master ? "1" : "0";
  if (key == "QBI")
    return std::to_string(boardId);
  if (key == "QBLV")
    return bootloaderVersion;
  if (key == "QF")
    return firmwareVersion;
  if (key == "QCE") {
    int error = commandError;
    if (!commandErrorAnswers.empty()) {
      error = commandErrorAnswers.front();
      commandErrorAnswers.pop_front();
    }
    return std::to_string(error);
  }
  if (key == "QMS")
    return modelString;
  if (key == "QMI")
    return std::to_string(modelId);
  if (key == "QN")
    return serialNumber;
  if (key == "Q")
    return std::to_string(motionStatus);
  if (key == "QWC")
    return waitingConfirm ? "1" : "0";
  if (key == "QD")
    return std::to_string(position);
  if (key == "QDT")
    return std::to_string(targetPosition);
  if (key == "QCS")
    return std::to_string(speed);
  if (key == "QSD")
    return std::to_string(maxSpeed);
  if (key == "QT")
    return std::to_string(temperature);
  if (key == "QEF")
    return std::to_string(errorFlags);
  if (key == "QRF")
    return std::to_string(resetFlags);
  return std::nullopt;
}

std::optional<std::string> SSimulatedServo::Answer(const SServoLine& line, Clock::time_point now)
{
  Advance(now);
  Warm(now);
  const std::string key = line.Key();
  if (!line.IsQuery()) {
    Act(key, line, now);
    if (encoder)
      encoder->Act(*this, key, line.value);
    return std::nullopt;
  }
  std::optional<std::string> value = encoder ? encoder->QueryValue(*this, key) : std::nullopt;
  if (!value)
    value = QueryValue(key);
  if (!value)
    return std::nullopt;
  return "*" + std::to_string(id) + line.mnemonic + *value + "\r";
}
