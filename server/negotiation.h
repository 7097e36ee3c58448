// Content negotiation and validators: the weight Accept-Encoding gives a content coding (RFC
// 9110, section 12.5.3) and strong ETags matched against If-None-Match (RFC 9110, sections
// 8.8.3 and 13.1.2).
#pragma once

#include <string>
#include <string_view>

// A strong validator of bytes, quoted: "\"0123456789abcdef\"".
std::string Etag_Of(std::string_view bytes);

// Whether an If-None-Match list names etag (weak comparison) or is "*".
bool Names_Etag(std::string_view if_none_match, std::string_view etag);

// The weight the Accept-Encoding value accept gives coding: its own entry's q, else that of
// "*", else 0.
double Quality(std::string_view accept, std::string_view coding);
