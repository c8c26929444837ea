// Interim: replaced by the exact two-step rounding.
#include "core/stored_result.h"
namespace tarnolux {
double StoredProduct(double a, double b) { return static_cast<double>(static_cast<long double>(a) * b); }
double StoredQuotient(double a, double b) { return static_cast<double>(static_cast<long double>(a) / b); }
}  // namespace tarnolux
