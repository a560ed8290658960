#include "syslib/plinth.h"

#include "host/host.h"

namespace tw {

Plinth::Plinth(Host& host) : host_(host) {}
Plinth::~Plinth() = default;

std::string Plinth::ansi(const std::string& text) const { return host_.machine().codePage().toAnsi(text); }
std::string Plinth::wide(const std::string& ansiText) const { return host_.machine().codePage().fromAnsi(ansiText); }

}  // namespace tw
