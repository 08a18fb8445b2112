#include "SimulatedServo.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
std::string Upper(std::string s)
{
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}
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
    parsed.id = std::atoi(line.substr(1, at - 1).c_str());
  size_t letters = at;
  while (letters < line.size() && std::isalpha(static_cast<unsigned char>(line[letters])))
    ++letters;
  parsed.mnemonic = line.substr(at, letters - at);
  parsed.value = line.substr(letters);
  return parsed;
}

std::optional<std::string> SSimulatedServo::Answer(const SServoLine& line)
{
  const std::string key = Upper(line.mnemonic);
  if (!line.IsQuery()) {
    if (key == "CNH")
      pendingDate = line.value;
    else if (key == "CNL")
      pendingTime = line.value;
    else if (key == "CONFIRM") {
      if (!pendingDate.empty() && !pendingTime.empty())
        serialNumber = pendingDate + pendingTime;
      ++confirmations;
      waitingConfirm = false;
    } else if (key == "D")
      targetPosition = std::atoi(line.value.c_str());
    return std::nullopt;
  }

  std::optional<std::string> value;
  if (auto it = replies.find(key); it != replies.end())
    value = it->second;
  else if (key == "QID")
    value = std::to_string(id);
  else if (key == "QUC")
    value = master ? "1" : "0";
  else if (key == "QBI")
    value = std::to_string(boardId);
  else if (key == "QBLV")
    value = bootloaderVersion;
  else if (key == "QF")
    value = firmwareVersion;
  else if (key == "QCE") {
    int error = commandError;
    if (!commandErrorAnswers.empty()) {
      error = commandErrorAnswers.front();
      commandErrorAnswers.pop_front();
    }
    value = std::to_string(error);
  } else if (key == "QMS")
    value = modelString;
  else if (key == "QMI")
    value = std::to_string(modelId);
  else if (key == "QN")
    value = serialNumber;
  else if (key == "Q")
    value = std::to_string(motionStatus);
  else if (key == "QWC")
    value = waitingConfirm ? "1" : "0";
  else if (key == "QD")
    value = std::to_string(position);
  else if (key == "QS")
    value = std::to_string(speed);
  else if (key == "QT")
    value = std::to_string(temperature);
  else if (key == "QEF")
    value = std::to_string(errorFlags);
  else if (key == "QRF")
    value = std::to_string(resetFlags);
  if (!value)
    return std::nullopt;
  return "*" + std::to_string(id) + line.mnemonic + *value + "\r";
}
