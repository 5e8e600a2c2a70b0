// Student's t distribution, computed from the regularized incomplete beta
// function (no table), for confidence intervals and p-values.
#pragma once

namespace qz {

/// I_x(a, b), the regularized incomplete beta function, for a, b > 0 and
/// 0 <= x <= 1; NaN outside that domain.
double regularizedIncompleteBeta(double a, double b, double x);

/// P(|T| >= |t|) for T following Student's law with `dof` degrees of freedom
/// (dof > 0): the two-sided p-value of a t statistic.
double studentTwoSidedP(double t, double dof);

/// The quantile t with P(T <= t) = p, for 0 < p < 1 and dof > 0; NaN outside.
double studentQuantile(double p, double dof);

}  // namespace qz
