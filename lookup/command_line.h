// What kelmor-lookup is asked to do, read from its command line. The arguments are UTF-8 as a
// terminal gives them; names, fields and terms are taken as the book's GBK texts and refused
// when GBK cannot hold them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/collection.h"
#include "runtime/value.h"

namespace kelmor::lookup {

enum class Command { Help, Entry, Search, Tree, ExportHtml };

struct Request {
  Command command = Command::Help;
  // The collections asked for, herbs first; both unless --herbs or --prescriptions.
  std::vector<Collection> collections;
  Text name;   // Entry
  Text field;  // Search: a column of the entry table
  Text term;   // Search
  std::string html_file;  // ExportHtml, as given ("-": standard output)
  std::optional<std::string> database_file;  // --db, as given
};

// The request, or nullopt with `error` set to one line (UTF-8) saying what is wrong.
std::optional<Request> ParseCommandLine(std::span<const std::string> args, std::string& error);

// The --help text (UTF-8).
std::string HelpText();

}  // namespace kelmor::lookup
