#pragma once
// FXmlOpen: reads a cabinet document back into a combination of cabinets.
// Elements are found by position, not by name: the order of the document is part of
// its format. Any fault (text that does not unscramble or parse, a missing child or
// attribute, a value that is not a number, an index that names nothing) raises
// std::runtime_error saying which element and attribute; no combination is returned.

#include <QString>
#include <memory>
#include <stdexcept>

#include "cabinet/UCabs.h"

// Error raised for a cabinet document that cannot be read.
class EXmlDocumentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class FXmlOpen {
  public:
    // A stored (scrambled) document -> a new combination owned by the caller.
    static std::unique_ptr<FCabs> OpenXml(const QString& _xml);
    // The same from the plain document text.
    static std::unique_ptr<FCabs> ReadXml(const QString& _plain);
};
