#pragma once

// Failures of template formatting. Empty on purpose: callers catch them by type, and there is no
// message to show since the dialogs record only which kind of failure ended them.

// A "{" without a "}" after it, in a source or an effective text.
class BadFormatStringError {};

// An empty variable name, or an ordinary source name with a byte that is not a letter, digit or
// "_" after its first byte.
class ImproperFormatVariableName {};

// A "_" name that is not a special variable, or an effective-text name with no argument bound.
class UndefinedFormatVariable {};

// The source text names fewer ordinary variables than arguments were passed.
class TooFewFormatArguments {};

// The source text names more ordinary variables than arguments were passed.
class TooManyFormatArguments {};

// A magnitude with more digits than the number template has positions.
class NumberCannotBeFormatted {};

// A month number outside 1 to 12.
class CantFormatMonth {};
