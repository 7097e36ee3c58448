// What came of a service step (reading a sign or an instant, computing the sky, rendering),
// apart from any host: the command line turns it into an exit status, the server into an
// HTTP status.
#pragma once

#include <string>

enum class Service_Status {
  Ok,
  Bad_Input,     // a malformed or impossible instant, an unknown sign
  Calendar_Gap,  // the instant falls in the 1582 calendar gap
  Fault,         // the computation raised a floating-point fault, or another error
};

struct Outcome {
  Service_Status status = Service_Status::Ok;
  // Bad_Input: why the input was refused, one line; Calendar_Gap: the control's Arabic
  // message (kCalendarGapMessage); Fault: what went wrong in the computation.
  std::string message;

  bool Ok() const { return status == Service_Status::Ok; }
};
