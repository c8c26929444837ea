// The stored-result rule: products and quotients rounded first to a 64-bit
// significand, then to a double, both to nearest with ties to even.
#pragma once

namespace tarnolux {

double StoredProduct(double a, double b);
double StoredQuotient(double a, double b);

}  // namespace tarnolux
