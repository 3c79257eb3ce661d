// Function names and function wizard texts: for each function, its name, its syntax, what
// it does and one line per argument, separated by line feeds.
#include "platform/resource_table.h"

namespace ostrel::resources {

const Entry kFunctionTexts[] = {
    {13044,
     u"ABS\n"
     u"ABS(number)\n"
     u"Returns the absolute value of a number.\n"
     u"number: the value whose absolute value is returned"},
    {13045,
     u"ACOSH\n"
     u"ACOSH(number)\n"
     u"Returns the inverse hyperbolic cosine of a number.\n"
     u"number: a value of at least 1"},
    {13046,
     u"ACOTANH\n"
     u"ACOTANH(number)\n"
     u"Returns the inverse hyperbolic cotangent of a number.\n"
     u"number: a value below -1 or above 1"},
    {13047,
     u"ASINH\n"
     u"ASINH(number)\n"
     u"Returns the inverse hyperbolic sine of a number.\n"
     u"number: any number"},
    {13048,
     u"ATANH\n"
     u"ATANH(number)\n"
     u"Returns the inverse hyperbolic tangent of a number.\n"
     u"number: a value between -1 and 1, both excluded"},
    {13049,
     u"COSH\n"
     u"COSH(number)\n"
     u"Returns the hyperbolic cosine of a number.\n"
     u"number: any number"},
    {13050,
     u"COTANH\n"
     u"COTANH(number)\n"
     u"Returns the hyperbolic cotangent of a number.\n"
     u"number: any number other than 0"},
    {13051,
     u"DIVIDE\n"
     u"DIVIDE(number1, [number2], ...)\n"
     u"Divides the first value by every further value in turn, as the / operator does.\n"
     u"number1: the value to divide, or a range whose values are divided in turn\n"
     u"number2: a value or range to divide by; more may follow"},
    {13052,
     u"EVEN\n"
     u"EVEN(number)\n"
     u"Rounds a number away from zero to the nearest even integer.\n"
     u"number: the value to round"},
    {13053,
     u"EXP\n"
     u"EXP(number)\n"
     u"Returns e raised to the power of a number.\n"
     u"number: the exponent"},
    {13054,
     u"FACT\n"
     u"FACT(number)\n"
     u"Returns the factorial of the integer part of a number.\n"
     u"number: a value of 0 or more; its fraction is ignored"},
    {13055,
     u"FACTDOUBLE\n"
     u"FACTDOUBLE(number)\n"
     u"Returns the double factorial of the integer part of a number: the product of every second "
     u"integer from it down to 1 or 2.\n"
     u"number: a value of 0 or more; its fraction is ignored"},
    {13056,
     u"GCD\n"
     u"GCD(number1, [number2], ...)\n"
     u"Returns the greatest common divisor of the integer parts of the numbers.\n"
     u"number1: a number, or a range of numbers\n"
     u"number2: further numbers or ranges"},
    {13057,
     u"INT\n"
     u"INT(number)\n"
     u"Rounds a number down to the nearest integer.\n"
     u"number: the value to round down"},
    {13058,
     u"LCM\n"
     u"LCM(number1, [number2], ...)\n"
     u"Returns the least common multiple of the integer parts of the numbers.\n"
     u"number1: a number, or a range of numbers\n"
     u"number2: further numbers or ranges"},
    {13059,
     u"LN\n"
     u"LN(number)\n"
     u"Returns the natural logarithm of a number.\n"
     u"number: a positive value"},
    {13060,
     u"LOG\n"
     u"LOG(number, [base])\n"
     u"Returns the logarithm of a number to base 10 or to a given base.\n"
     u"number: a positive value\n"
     u"base: the base of the logarithm; 10 when omitted"},
    {13061,
     u"LOG10\n"
     u"LOG10(number)\n"
     u"Returns the base-10 logarithm of a number.\n"
     u"number: a positive value"},
    {13062,
     u"MDETERM\n"
     u"MDETERM(matrix)\n"
     u"Returns the determinant of a square matrix.\n"
     u"matrix: a square range or array of numbers"},
    {13063,
     u"MINUS\n"
     u"MINUS(number1, [number2], ...)\n"
     u"Subtracts every further value from the first in turn, as the - operator does.\n"
     u"number1: the value to subtract from, or a range whose values are subtracted in turn\n"
     u"number2: a value or range to subtract; more may follow"},
    {13064,
     u"MOD\n"
     u"MOD(number, divisor)\n"
     u"Returns the remainder of a division; the remainder has the sign of the divisor.\n"
     u"number: the value to divide\n"
     u"divisor: the value to divide by; must not be 0"},
    {13065,
     u"MULTINOMIAL\n"
     u"MULTINOMIAL(number1, [number2], ...)\n"
     u"Returns the factorial of the sum of the integer parts of the numbers divided by the product "
     u"of their factorials.\n"
     u"number1: a number of 0 or more, or a range of such numbers\n"
     u"number2: further numbers or ranges"},
    {13066,
     u"ODD\n"
     u"ODD(number)\n"
     u"Rounds a number away from zero to the nearest odd integer.\n"
     u"number: the value to round"},
    {13067,
     u"PLUS\n"
     u"PLUS(number1, [number2], ...)\n"
     u"Adds all values in turn, as the + operator does.\n"
     u"number1: a value or range\n"
     u"number2: further values or ranges"},
    {13068,
     u"POWER\n"
     u"POWER(base, exponent, ...)\n"
     u"Raises a number to a power; further exponents are applied in turn, as the ^ operator does.\n"
     u"base: the value to raise\n"
     u"exponent: the power to raise it to; more may follow"},
    {13069,
     u"RAND\n"
     u"RAND([limit])\n"
     u"Returns a random number from 0 to 1, or from 0 to a limit; it changes at every "
     u"recalculation.\n"
     u"limit: the upper end of the interval; 1 when omitted"},
    {13070,
     u"RANDBETWEEN\n"
     u"RANDBETWEEN(bottom, top)\n"
     u"Returns a random number between two limits, not rounded to an integer; it changes at every "
     u"recalculation.\n"
     u"bottom: the lower limit\n"
     u"top: the upper limit"},
    {13071,
     u"ROUND\n"
     u"ROUND(number, multiple)\n"
     u"Rounds a number to the nearest multiple of another number.\n"
     u"number: the value to round\n"
     u"multiple: the multiple to round to; 0 gives 0"},
    {13072,
     u"ROUNDDOWN\n"
     u"ROUNDDOWN(number, digits)\n"
     u"Rounds a number down, toward minus infinity, to a number of decimal places.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
    {13073,
     u"ROUNDUP\n"
     u"ROUNDUP(number, digits)\n"
     u"Rounds a number up, toward plus infinity, to a number of decimal places.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
    {13074,
     u"SERIESSUM\n"
     u"SERIESSUM(x, n, m, [coefficients], ...)\n"
     u"Returns the sum of a power series: each coefficient times x raised to n, n + m, n + 2m and "
     u"so on.\n"
     u"x: the value of the variable\n"
     u"n: the power of x in the first term\n"
     u"m: the step by which the power grows from term to term\n"
     u"coefficients: the coefficients of the terms, as numbers or ranges"},
    {13075,
     u"SIGN\n"
     u"SIGN(number)\n"
     u"Returns the sign of a number: 1 when positive, -1 when negative, 0 for zero.\n"
     u"number: any number"},
    {13076,
     u"SINH\n"
     u"SINH(number)\n"
     u"Returns the hyperbolic sine of a number.\n"
     u"number: any number"},
    {13077,
     u"SQR\n"
     u"SQR(number)\n"
     u"Returns the square of a number.\n"
     u"number: the value to square"},
    {13078,
     u"SQRT\n"
     u"SQRT(number)\n"
     u"Returns the square root of a number.\n"
     u"number: a value of 0 or more"},
    {13079,
     u"SUM\n"
     u"SUM(number1, [number2], ...)\n"
     u"Adds all numbers of the arguments.\n"
     u"number1: a number or range to add\n"
     u"number2: further numbers or ranges"},
    {13080,
     u"SUMTIMES\n"
     u"SUMTIMES([array1], [array2], ...)\n"
     u"Multiplies the corresponding elements of ranges and returns the sum of the products.\n"
     u"array1: a range or array\n"
     u"array2: further ranges or arrays of the same size"},
    {13081,
     u"SUMSQ\n"
     u"SUMSQ([number1], [number2], ...)\n"
     u"Returns the sum of the squares of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13082,
     u"SUMX2MY2\n"
     u"SUMX2MY2(array_x, array_y)\n"
     u"Returns the sum of the differences of the squares of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {13083,
     u"SUMX2PY2\n"
     u"SUMX2PY2(array_x, array_y)\n"
     u"Returns the sum of the sums of the squares of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {13084,
     u"SUMXMY2\n"
     u"SUMXMY2(array_x, array_y)\n"
     u"Returns the sum of the squares of the differences of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {13085,
     u"SUMXPY2\n"
     u"SUMXPY2(array_x, array_y)\n"
     u"Returns the sum of the squares of the sums of corresponding elements of two ranges.\n"
     u"array_x: the first range or array\n"
     u"array_y: the second range or array, of the same size"},
    {13086,
     u"TANH\n"
     u"TANH(number)\n"
     u"Returns the hyperbolic tangent of a number.\n"
     u"number: any number"},
    {13087,
     u"TIMES\n"
     u"TIMES([number1], [number2], ...)\n"
     u"Multiplies all values in turn, as the * operator does.\n"
     u"number1: a value or range\n"
     u"number2: further values or ranges"},
    {13088,
     u"TOTAL\n"
     u"TOTAL(number1, [number2], ...)\n"
     u"Adds all numbers of the arguments, as SUM does.\n"
     u"number1: a number or range to add\n"
     u"number2: further numbers or ranges"},
    {13089,
     u"ACOS\n"
     u"ACOS(number)\n"
     u"Returns the arc cosine of a number, in radians.\n"
     u"number: the cosine of the angle, from -1 to 1"},
    {13090,
     u"ACOTAN\n"
     u"ACOTAN(number)\n"
     u"Returns the arc cotangent of a number, in radians.\n"
     u"number: the cotangent of the angle"},
    {13091,
     u"ASIN\n"
     u"ASIN(number)\n"
     u"Returns the arc sine of a number, in radians.\n"
     u"number: the sine of the angle, from -1 to 1"},
    {13092,
     u"ATAN\n"
     u"ATAN(number)\n"
     u"Returns the arc tangent of a number, in radians.\n"
     u"number: the tangent of the angle"},
    {13093,
     u"ATAN2\n"
     u"ATAN2(x, y)\n"
     u"Returns the angle, in radians, between the x axis and the line from the origin to a point.\n"
     u"x: the x coordinate of the point\n"
     u"y: the y coordinate of the point"},
    {13094,
     u"COS\n"
     u"COS(angle)\n"
     u"Returns the cosine of an angle.\n"
     u"angle: the angle in radians"},
    {13095,
     u"COTAN\n"
     u"COTAN(angle)\n"
     u"Returns the cotangent of an angle.\n"
     u"angle: the angle in radians"},
    {13096,
     u"DEGREES\n"
     u"DEGREES(angle)\n"
     u"Converts an angle from radians to degrees.\n"
     u"angle: the angle in radians"},
    {13097,
     u"PI\n"
     u"PI()\n"
     u"Returns the number pi, 3.14159265358979."},
    {13098,
     u"RADIANS\n"
     u"RADIANS(angle)\n"
     u"Converts an angle from degrees to radians.\n"
     u"angle: the angle in degrees"},
    {13099,
     u"SIN\n"
     u"SIN(angle)\n"
     u"Returns the sine of an angle.\n"
     u"angle: the angle in radians"},
    {13100,
     u"SQRTPI\n"
     u"SQRTPI(number)\n"
     u"Returns the square root of a number multiplied by pi.\n"
     u"number: a value of 0 or more"},
    {13101,
     u"TAN\n"
     u"TAN(angle)\n"
     u"Returns the tangent of an angle.\n"
     u"angle: the angle in radians"},
    {13102,
     u"AVEDEV\n"
     u"AVEDEV(number1, [number2], ...)\n"
     u"Returns the mean of the absolute deviations of the numbers from their mean.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13103,
     u"AVERAGE\n"
     u"AVERAGE([number1], [number2], ...)\n"
     u"Returns the arithmetic mean of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13104,
     u"AVG\n"
     u"AVG([number1], [number2], ...)\n"
     u"Returns the arithmetic mean of the numbers, as AVERAGE does.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13105,
     u"BINOMDIST\n"
     u"BINOMDIST(successes, trials, probability, cumulative)\n"
     u"Returns the binomial distribution: the probability of a number of successes in a number of "
     u"independent trials.\n"
     u"successes: the number of successes\n"
     u"trials: the number of trials\n"
     u"probability: the probability of success in one trial, from 0 to 1\n"
     u"cumulative: true for the probability of at most that many successes, false for exactly that "
     u"many"},
    {13106,
     u"COMB\n"
     u"COMB(n, k)\n"
     u"Returns the number of ways to choose k items out of n, regardless of order.\n"
     u"n: the number of items\n"
     u"k: the number of items chosen"},
    {13107,
     u"CORREL\n"
     u"CORREL(array1, array2)\n"
     u"Returns the correlation coefficient of two sets of values.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {13108,
     u"COUNT\n"
     u"COUNT([value1], [value2], ...)\n"
     u"Counts the values of the arguments that are not empty.\n"
     u"value1: a value or range\n"
     u"value2: further values or ranges"},
    {13109,
     u"COUNTN\n"
     u"COUNTN([value1], [value2], ...)\n"
     u"Counts the numbers among the values of the arguments.\n"
     u"value1: a value or range\n"
     u"value2: further values or ranges"},
    {13110,
     u"COVAR\n"
     u"COVAR(array1, array2)\n"
     u"Returns the covariance of two sets of values: the mean of the products of their deviations "
     u"from their means.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {13111,
     u"DEVSQ\n"
     u"DEVSQ([number1], [number2], ...)\n"
     u"Returns the sum of the squares of the deviations of the numbers from their mean.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13112,
     u"EXPONDIST\n"
     u"EXPONDIST(x, lambda, cumulative)\n"
     u"Returns the exponential distribution.\n"
     u"x: the value at which the distribution is evaluated, 0 or more\n"
     u"lambda: the rate parameter, greater than 0\n"
     u"cumulative: true for the distribution function, false for the density"},
    {13113,
     u"FISHER\n"
     u"FISHER(x)\n"
     u"Returns the Fisher transformation of a number.\n"
     u"x: a value between -1 and 1, both excluded"},
    {13114,
     u"FISHERINV\n"
     u"FISHERINV(y)\n"
     u"Returns the inverse of the Fisher transformation.\n"
     u"y: the transformed value"},
    {13115,
     u"FORECAST\n"
     u"FORECAST(x, known_y, known_x)\n"
     u"Predicts the value at x of the straight line fitted to known values by linear regression.\n"
     u"x: the point whose value is predicted\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {13116,
     u"GAMMADIST\n"
     u"GAMMADIST(x, alpha, beta)\n"
     u"Returns the density of the gamma distribution at a value.\n"
     u"x: the value, 0 or more\n"
     u"alpha: the shape parameter, greater than 0\n"
     u"beta: the scale parameter, greater than 0"},
    {13117,
     u"GAMMALN\n"
     u"GAMMALN(x)\n"
     u"Returns the natural logarithm of the gamma function.\n"
     u"x: a value greater than 0"},
    {13118,
     u"GEOMEAN\n"
     u"GEOMEAN([number1], [number2], ...)\n"
     u"Returns the geometric mean of positive numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13119,
     u"HARMEAN\n"
     u"HARMEAN([number1], [number2], ...)\n"
     u"Returns the harmonic mean of positive numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13120,
     u"HYPGEOMDIST\n"
     u"HYPGEOMDIST(sample_successes, sample_size, population_successes, population_size)\n"
     u"Returns the hypergeometric distribution: the probability of a number of successes in a "
     u"sample drawn without replacement.\n"
     u"sample_successes: the number of successes in the sample\n"
     u"sample_size: the size of the sample\n"
     u"population_successes: the number of successes in the population\n"
     u"population_size: the size of the population"},
    {13121,
     u"INTERCEPT\n"
     u"INTERCEPT(known_y, known_x)\n"
     u"Returns the point at which the regression line of known values crosses the y axis.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {13122,
     u"KURT\n"
     u"KURT(number1, [number2], ...)\n"
     u"Returns the kurtosis of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13123,
     u"LARGE\n"
     u"LARGE(number1, [number2], ..., k)\n"
     u"Returns the k-th largest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges\n"
     u"k: the rank from the top, 1 for the largest; always the last argument"},
    {13124,
     u"MAX\n"
     u"MAX(number1, [number2], ...)\n"
     u"Returns the largest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13125,
     u"MEDIAN\n"
     u"MEDIAN(number1, [number2], ...)\n"
     u"Returns the median of the numbers: the middle value, or the mean of the two middle values.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13126,
     u"MIN\n"
     u"MIN(number1, [number2], ...)\n"
     u"Returns the smallest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13127,
     u"MODE\n"
     u"MODE(number1, [number2], ...)\n"
     u"Returns the value that occurs most often among the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13128,
     u"NEGBINOMDIST\n"
     u"NEGBINOMDIST(failures, successes, probability)\n"
     u"Returns the negative binomial distribution: the probability of a number of failures before "
     u"a number of successes.\n"
     u"failures: the number of failures\n"
     u"successes: the number of successes\n"
     u"probability: the probability of success in one trial, from 0 to 1"},
    {13129,
     u"NORMDIST\n"
     u"NORMDIST(x, mean, standard_dev)\n"
     u"Returns the density of the normal distribution with a given mean and standard deviation.\n"
     u"x: the value at which the density is evaluated\n"
     u"mean: the mean of the distribution\n"
     u"standard_dev: the standard deviation, greater than 0"},
    {13130,
     u"NORMSDIST\n"
     u"NORMSDIST(x)\n"
     u"Returns the density of the standard normal distribution.\n"
     u"x: the value at which the density is evaluated"},
    {13131,
     u"PEARSON\n"
     u"PEARSON(array1, array2)\n"
     u"Returns the Pearson product-moment correlation coefficient of two sets of values.\n"
     u"array1: the first range or array of values\n"
     u"array2: the second range or array, of the same size"},
    {13132,
     u"PERCENTILE\n"
     u"PERCENTILE(array, k)\n"
     u"Returns the k-th percentile of a set of values.\n"
     u"array: the range or array of values\n"
     u"k: the percentile as a fraction from 0 to 1"},
    {13133,
     u"PERCENTRANK\n"
     u"PERCENTRANK(array, x)\n"
     u"Returns the rank of a value within a set of values as a fraction from 0 to 1.\n"
     u"array: the range or array of values\n"
     u"x: the value whose rank is returned"},
    {13134,
     u"PERM\n"
     u"PERM(n, k)\n"
     u"Returns the number of ordered arrangements of k items chosen out of n.\n"
     u"n: the number of items\n"
     u"k: the number of items chosen"},
    {13135,
     u"POISSON\n"
     u"POISSON(x, mean, cumulative)\n"
     u"Returns the Poisson distribution.\n"
     u"x: the number of events\n"
     u"mean: the expected number of events\n"
     u"cumulative: true for the probability of at most x events, false for exactly x"},
    {13136,
     u"PROB\n"
     u"PROB(x_range, prob_range, lower_limit, [upper_limit])\n"
     u"Returns the probability that a value lies between two limits, given the probabilities of "
     u"the values.\n"
     u"x_range: the range of values\n"
     u"prob_range: the probabilities of those values, of the same size\n"
     u"lower_limit: the lower limit\n"
     u"upper_limit: the upper limit; the lower limit when omitted"},
    {13137,
     u"QUARTILE\n"
     u"QUARTILE(array, quart)\n"
     u"Returns a quartile of a set of values.\n"
     u"array: the range or array of values\n"
     u"quart: 0 for the minimum, 1 to 3 for the quartiles, 4 for the maximum"},
    {13138,
     u"RANK\n"
     u"RANK(number, ref, [order])\n"
     u"Returns the rank of a number within a list of numbers.\n"
     u"number: the value whose rank is returned\n"
     u"ref: the range of numbers\n"
     u"order: 0 or omitted to rank from the largest, any other value to rank from the smallest"},
    {13139,
     u"RSQ\n"
     u"RSQ(known_y, known_x)\n"
     u"Returns the square of the Pearson correlation coefficient of two sets of values.\n"
     u"known_y: the range of dependent values\n"
     u"known_x: the range of independent values, of the same size"},
    {13140,
     u"SKEW\n"
     u"SKEW(number1, [number2], ...)\n"
     u"Returns the skewness of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13141,
     u"SLOPE\n"
     u"SLOPE(known_y, known_x)\n"
     u"Returns the slope of the linear regression line of known values.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {13142,
     u"SMALL\n"
     u"SMALL(number1, [number2], ..., k)\n"
     u"Returns the k-th smallest of the numbers.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges\n"
     u"k: the rank from the bottom, 1 for the smallest; always the last argument"},
    {13143,
     u"STANDARDIZE\n"
     u"STANDARDIZE(x, mean, standard_dev)\n"
     u"Returns a value normalised by a mean and a standard deviation: (x - mean) / standard_dev.\n"
     u"x: the value to normalise\n"
     u"mean: the mean of the distribution\n"
     u"standard_dev: the standard deviation, greater than 0"},
    {13144,
     u"STD\n"
     u"STD(number1, [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13145,
     u"STDEV\n"
     u"STDEV([number1], [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13146,
     u"STDEVP\n"
     u"STDEVP([number1], [number2], ...)\n"
     u"Returns the standard deviation of the numbers taken as the whole population.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13147,
     u"STEYX\n"
     u"STEYX(known_y, known_x)\n"
     u"Returns the standard error of the values predicted by the linear regression of known "
     u"values.\n"
     u"known_y: the range of known dependent values\n"
     u"known_x: the range of known independent values, of the same size"},
    {13148,
     u"VAR\n"
     u"VAR(number1, [number2], ...)\n"
     u"Returns the variance of the numbers taken as a sample.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13149,
     u"VARP\n"
     u"VARP(number1, [number2], ...)\n"
     u"Returns the variance of the numbers taken as the whole population.\n"
     u"number1: a number or range\n"
     u"number2: further numbers or ranges"},
    {13150,
     u"WAVG\n"
     u"WAVG(values, weights)\n"
     u"Returns the mean of values weighted by their weights.\n"
     u"values: the range or array of values\n"
     u"weights: the weight of each value, of the same size"},
    {13151,
     u"WEIBULL\n"
     u"WEIBULL(x, alpha, beta, cumulative)\n"
     u"Returns the Weibull distribution.\n"
     u"x: the value, 0 or more\n"
     u"alpha: the shape parameter, greater than 0\n"
     u"beta: the scale parameter, greater than 0\n"
     u"cumulative: true for the distribution function, false for the density"},
    {13152,
     u"ZTEST\n"
     u"ZTEST(array, x, [sigma])\n"
     u"Returns the one-tailed probability of a z-test of a value against a sample.\n"
     u"array: the range of sample values\n"
     u"x: the value to test\n"
     u"sigma: the standard deviation of the population; that of the sample when omitted"},
    {13153,
     u"CHAR\n"
     u"CHAR(number)\n"
     u"Returns the character with a given code in the system's 8-bit code page.\n"
     u"number: a code from 0 to 255"},
    {13154,
     u"CLEAN\n"
     u"CLEAN(text)\n"
     u"Removes the characters that cannot be printed from a text.\n"
     u"text: the text to clean"},
    {13155,
     u"CODE\n"
     u"CODE(text)\n"
     u"Returns the code of the first character of a text in the system's 8-bit code page.\n"
     u"text: the text whose first character is converted"},
    {13156,
     u"CONCATENATE\n"
     u"CONCATENATE([text1], [text2], ...)\n"
     u"Joins several texts into one.\n"
     u"text1: a text, or a number that is joined as its display text\n"
     u"text2: further texts"},
    {13157,
     u"DOLLAR\n"
     u"DOLLAR(number, [decimals])\n"
     u"Converts a number to text in the currency format.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places; 2 when omitted"},
    {13158,
     u"EXACT\n"
     u"EXACT(text1, text2)\n"
     u"Tells whether two texts are exactly equal, case included.\n"
     u"text1: the first text\n"
     u"text2: the second text"},
    {13159,
     u"FINDTEXT\n"
     u"FINDTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, comparing "
     u"case-sensitively.\n"
     u"find_text: the text to find\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {13160,
     u"FIXED\n"
     u"FIXED(number, [decimals], [no_separators])\n"
     u"Converts a number to text with a fixed number of decimal places.\n"
     u"number: the value to convert\n"
     u"decimals: the number of decimal places; 2 when omitted\n"
     u"no_separators: true to leave out the thousands separators; false when omitted"},
    {13161,
     u"LEFT\n"
     u"LEFT(text, [count])\n"
     u"Returns the first characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {13162,
     u"LEN\n"
     u"LEN(text)\n"
     u"Returns the number of characters of a text; a number counts the characters of its display "
     u"text.\n"
     u"text: the text to measure"},
    {13163,
     u"LOWER\n"
     u"LOWER(text)\n"
     u"Converts a text to lower case.\n"
     u"text: the text to convert"},
    {13164,
     u"MID\n"
     u"MID(text, start, [count])\n"
     u"Returns the characters of a text from a position on, or at most a number of them.\n"
     u"text: the text\n"
     u"start: the position of the first character, counted from 1\n"
     u"count: the number of characters; all up to the end when omitted"},
    {13165,
     u"PROPER\n"
     u"PROPER(text)\n"
     u"Capitalises the first letter of every word of a text and converts the other letters to "
     u"lower case.\n"
     u"text: the text to convert"},
    {13166,
     u"REPLACE\n"
     u"REPLACE(old_text, start, count, new_text)\n"
     u"Replaces a number of characters of a text, from a position on, with another text.\n"
     u"old_text: the text in which characters are replaced\n"
     u"start: the position of the first character to replace, counted from 1\n"
     u"count: the number of characters to replace\n"
     u"new_text: the text put in their place"},
    {13167,
     u"REPT\n"
     u"REPT(text, count)\n"
     u"Repeats a text a number of times.\n"
     u"text: the text to repeat\n"
     u"count: the number of repetitions, 0 or more"},
    {13168,
     u"RIGHT\n"
     u"RIGHT(text, [count])\n"
     u"Returns the last characters of a text.\n"
     u"text: the text\n"
     u"count: the number of characters; 1 when omitted"},
    {13169,
     u"SEARCHTEXT\n"
     u"SEARCHTEXT(find_text, within_text, [start])\n"
     u"Returns the position at which a text first occurs within another, regardless of case.\n"
     u"find_text: the text to find\n"
     u"within_text: the text to search\n"
     u"start: the position at which the search starts, counted from 1; 1 when omitted"},
    {13170,
     u"SUBSTITUTE\n"
     u"SUBSTITUTE(text, old_text, new_text, [occurrence])\n"
     u"Replaces occurrences of a text within another text.\n"
     u"text: the text in which occurrences are replaced\n"
     u"old_text: the text to replace\n"
     u"new_text: the text put in its place\n"
     u"occurrence: which occurrence to replace, counted from 1; every one when omitted"},
    {13171,
     u"T\n"
     u"T(value)\n"
     u"Returns a value as text; a number gives its display text.\n"
     u"value: the value to convert"},
    {13172,
     u"TRIM\n"
     u"TRIM(text)\n"
     u"Removes the spaces at both ends of a text and shortens every inner run of spaces to one.\n"
     u"text: the text to trim"},
    {13173,
     u"UPPER\n"
     u"UPPER(text)\n"
     u"Converts a text to upper case.\n"
     u"text: the text to convert"},
    {13174,
     u"VALUE\n"
     u"VALUE(text)\n"
     u"Converts a text to a number, read as if it were typed into a cell.\n"
     u"text: the text to convert"},
    {13175,
     u"DATE\n"
     u"DATE(year, month, day)\n"
     u"Returns the date serial of a day given by year, month and day.\n"
     u"year: the year, 1900 to 2071; 0 to 99 stand for a year near the current one\n"
     u"month: the month, 1 to 12\n"
     u"day: the day of the month"},
    {13176,
     u"DATEVALUE\n"
     u"DATEVALUE(date_text)\n"
     u"Converts a date written as text to a date serial.\n"
     u"date_text: a date as it would be typed into a cell"},
    {13177,
     u"DAY\n"
     u"DAY(date)\n"
     u"Returns the day of the month of a date, from 1 to 31.\n"
     u"date: a date serial, or a date as text"},
    {13178,
     u"DAYS360\n"
     u"DAYS360(start_date, end_date, [method])\n"
     u"Returns the number of days between two dates counted on a year of twelve 30-day months.\n"
     u"start_date: the first date\n"
     u"end_date: the second date\n"
     u"method: false or omitted for the US method, true for the European method"},
    {13179,
     u"EDATE\n"
     u"EDATE(start_date, months)\n"
     u"Returns the date serial of the same day a number of months before or after a date.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {13180,
     u"EOMONTH\n"
     u"EOMONTH(start_date, months)\n"
     u"Returns the date serial of the last day of the month a number of months before or after a "
     u"date.\n"
     u"start_date: the date to start from\n"
     u"months: the number of months; negative values go back"},
    {13181,
     u"HOUR\n"
     u"HOUR(time)\n"
     u"Returns the hour of a time, from 0 to 23.\n"
     u"time: a time or date serial, or a time as text"},
    {13182,
     u"MINUTE\n"
     u"MINUTE(time)\n"
     u"Returns the minute of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {13183,
     u"MONTH\n"
     u"MONTH(date)\n"
     u"Returns the month of a date, from 1 to 12.\n"
     u"date: a date serial, or a date as text"},
    {13184,
     u"NETWORKDAYS\n"
     u"NETWORKDAYS(start_date, end_date, [holidays], ...)\n"
     u"Returns the number of working days, Monday to Friday, from one date to another, both "
     u"included, less the holidays.\n"
     u"start_date: the first date\n"
     u"end_date: the last date\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {13185,
     u"NOW\n"
     u"NOW()\n"
     u"Returns the date serial of the current date and time."},
    {13186,
     u"SECOND\n"
     u"SECOND(time)\n"
     u"Returns the second of a time, from 0 to 59.\n"
     u"time: a time or date serial, or a time as text"},
    {13187,
     u"TIME\n"
     u"TIME(hour, minute, [second])\n"
     u"Returns the time serial, a fraction of a day, of a time given by hour, minute and second.\n"
     u"hour: the hour, 0 to 24\n"
     u"minute: the minute, 0 to 60\n"
     u"second: the second, 0 to 60; 0 when omitted"},
    {13188,
     u"TIMEVALUE\n"
     u"TIMEVALUE(time_text)\n"
     u"Converts a time written as text to a time serial.\n"
     u"time_text: a time as it would be typed into a cell"},
    {13189,
     u"TODAY\n"
     u"TODAY()\n"
     u"Returns the date serial of the current date."},
    {13190,
     u"WEEKDAY\n"
     u"WEEKDAY(date)\n"
     u"Returns the day of the week of a date, from 1 for Sunday to 7 for Saturday.\n"
     u"date: a date serial, or a date as text"},
    {13191,
     u"WEEKNUM\n"
     u"WEEKNUM(date, [return_type])\n"
     u"Returns the number of the week of the year in which a date falls.\n"
     u"date: a date serial, or a date as text\n"
     u"return_type: 1 or omitted for weeks that begin on Sunday, 2 for weeks that begin on Monday"},
    {13192,
     u"WORKDAY\n"
     u"WORKDAY(start_date, days, [holidays], ...)\n"
     u"Returns the date serial of the working day a number of working days before or after a date, "
     u"skipping weekends and holidays.\n"
     u"start_date: the date to start from\n"
     u"days: the number of working days; negative values go back\n"
     u"holidays: dates or ranges of dates that are not working days"},
    {13193,
     u"YEAR\n"
     u"YEAR(date)\n"
     u"Returns the year of a date.\n"
     u"date: a date serial, or a date as text"},
    {13194,
     u"YEARFRAC\n"
     u"YEARFRAC(start_date, end_date, [basis])\n"
     u"Returns the fraction of a year between two dates.\n"
     u"start_date: the first date\n"
     u"end_date: the second date\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13195,
     u"ACCRINTM\n"
     u"ACCRINTM(issue, maturity, rate, [par], [basis])\n"
     u"Returns the interest accrued by a security that pays interest at maturity.\n"
     u"issue: the issue date of the security\n"
     u"maturity: the maturity date of the security\n"
     u"rate: the annual coupon rate\n"
     u"par: the par value; 1000 when omitted\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13196,
     u"COMPOUND\n"
     u"COMPOUND(principal, rate, periods)\n"
     u"Returns the value of a principal after interest is compounded over a number of periods.\n"
     u"principal: the amount invested\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of periods"},
    {13197,
     u"COUPDAYBS\n"
     u"COUPDAYBS(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days from the beginning of the coupon period to the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13198,
     u"COUPDAYS\n"
     u"COUPDAYS(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days of the coupon period in which the settlement date falls.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13199,
     u"COUPDAYSNC\n"
     u"COUPDAYSNC(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of days from the settlement date to the next coupon date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13200,
     u"COUPNCD\n"
     u"COUPNCD(settlement, maturity, frequency, [basis])\n"
     u"Returns the first coupon date after the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13201,
     u"COUPNUM\n"
     u"COUPNUM(settlement, maturity, frequency, [basis])\n"
     u"Returns the number of coupons payable from the settlement date to maturity.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13202,
     u"COUPPCD\n"
     u"COUPPCD(settlement, maturity, frequency, [basis])\n"
     u"Returns the last coupon date before the settlement date.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13203,
     u"DB\n"
     u"DB(cost, salvage, life, period, [month])\n"
     u"Returns the depreciation of an asset for a period by the fixed-declining-balance method.\n"
     u"cost: the initial cost of the asset\n"
     u"salvage: the value at the end of its life\n"
     u"life: the number of periods of its life\n"
     u"period: the period whose depreciation is returned\n"
     u"month: the number of months in the first year; 12 when omitted"},
    {13204,
     u"DISC\n"
     u"DISC(settlement, maturity, price, redemption, [basis])\n"
     u"Returns the discount rate of a security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"price: the price per 100 of face value\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13205,
     u"DOLLARDE\n"
     u"DOLLARDE(fractional_dollar, fraction)\n"
     u"Converts a price written as an integer part and a fraction into a decimal number.\n"
     u"fractional_dollar: the price whose decimals stand for the numerator of the fraction\n"
     u"fraction: the denominator of the fraction"},
    {13206,
     u"EFFECT\n"
     u"EFFECT(nominal_rate, periods_per_year)\n"
     u"Returns the effective annual interest rate of a nominal rate compounded several times a "
     u"year.\n"
     u"nominal_rate: the nominal annual interest rate\n"
     u"periods_per_year: the number of compounding periods per year"},
    {13207,
     u"FV\n"
     u"FV(payment, rate, periods)\n"
     u"Returns the future value of a series of equal payments at a fixed interest rate.\n"
     u"payment: the amount paid each period\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {13208,
     u"INTRATE\n"
     u"INTRATE(settlement, maturity, investment, redemption, [basis])\n"
     u"Returns the interest rate of a fully invested security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"investment: the amount invested\n"
     u"redemption: the amount received at maturity\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13209,
     u"IRR\n"
     u"IRR(values, [guess])\n"
     u"Returns the internal rate of return of a series of cash flows: the rate at which their net "
     u"present value is 0.\n"
     u"values: the range or array of cash flows, one per period\n"
     u"guess: the rate to start the search from; 0.1 when omitted"},
    {13210,
     u"MIRR\n"
     u"MIRR(finance_rate, reinvest_rate, values, ...)\n"
     u"Returns the modified internal rate of return of a series of cash flows.\n"
     u"finance_rate: the interest rate paid on the money invested\n"
     u"reinvest_rate: the interest rate earned on the money reinvested\n"
     u"values: the ranges or arrays of cash flows, one per period"},
    {13211,
     u"NOMINAL\n"
     u"NOMINAL(effect_rate, periods_per_year)\n"
     u"Returns the nominal annual interest rate of an effective rate compounded several times a "
     u"year.\n"
     u"effect_rate: the effective annual interest rate\n"
     u"periods_per_year: the number of compounding periods per year"},
    {13212,
     u"NPV\n"
     u"NPV(rate, value1, [value2], ...)\n"
     u"Returns the net present value of a series of cash flows at a discount rate.\n"
     u"rate: the discount rate per period\n"
     u"value1: a cash flow, or a range of cash flows, one per period\n"
     u"value2: further cash flows or ranges"},
    {13213,
     u"PMT\n"
     u"PMT(principal, rate, periods)\n"
     u"Returns the payment per period that pays off a loan at a fixed interest rate.\n"
     u"principal: the amount borrowed\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {13214,
     u"PRICE\n"
     u"PRICE(settlement, maturity, rate, yield, redemption, frequency, [basis])\n"
     u"Returns the price per 100 of face value of a security that pays periodic interest.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"rate: the annual coupon rate\n"
     u"yield: the annual yield\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13215,
     u"PRICEDISC\n"
     u"PRICEDISC(settlement, maturity, discount, redemption, [basis])\n"
     u"Returns the price per 100 of face value of a discounted security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"discount: the discount rate\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13216,
     u"PRICEMAT\n"
     u"PRICEMAT(settlement, maturity, issue, rate, yield, [basis])\n"
     u"Returns the price per 100 of face value of a security that pays interest at maturity.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"issue: the issue date of the security\n"
     u"rate: the interest rate at the issue date\n"
     u"yield: the annual yield\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13217,
     u"PV\n"
     u"PV(payment, rate, periods)\n"
     u"Returns the present value of a series of equal payments at a fixed interest rate.\n"
     u"payment: the amount paid each period\n"
     u"rate: the interest rate per period\n"
     u"periods: the number of payment periods"},
    {13218,
     u"RECEIVED\n"
     u"RECEIVED(settlement, maturity, investment, discount, [basis])\n"
     u"Returns the amount received at maturity for a fully invested security.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"investment: the amount invested\n"
     u"discount: the discount rate\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360"},
    {13219,
     u"SYD\n"
     u"SYD(cost, salvage, life, period)\n"
     u"Returns the depreciation of an asset for a period by the sum-of-years'-digits method.\n"
     u"cost: the initial cost of the asset\n"
     u"salvage: the value at the end of its life\n"
     u"life: the number of periods of its life\n"
     u"period: the period whose depreciation is returned"},
    {13220,
     u"TBILLEQ\n"
     u"TBILLEQ(settlement, maturity, discount)\n"
     u"Returns the bond-equivalent yield of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"discount: the discount rate"},
    {13221,
     u"TBILLPRICE\n"
     u"TBILLPRICE(settlement, maturity, discount)\n"
     u"Returns the price per 100 of face value of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"discount: the discount rate"},
    {13222,
     u"TBILLYIELD\n"
     u"TBILLYIELD(settlement, maturity, price)\n"
     u"Returns the yield of a treasury bill.\n"
     u"settlement: the date on which the bill is bought\n"
     u"maturity: the date on which the bill expires\n"
     u"price: the price per 100 of face value"},
    {13223,
     u"AND\n"
     u"AND([logical1], [logical2], ...)\n"
     u"Returns true when every argument is true.\n"
     u"logical1: a condition, or a range of conditions\n"
     u"logical2: further conditions or ranges"},
    {13224,
     u"IF\n"
     u"IF(condition, [then_value], [else_value])\n"
     u"Returns one value when a condition is true and another when it is false.\n"
     u"condition: the number to test; any value other than 0 is true\n"
     u"then_value: the result when the condition is true; the condition itself when omitted\n"
     u"else_value: the result when the condition is false; the condition itself when omitted"},
    {13225,
     u"NOT\n"
     u"NOT(logical)\n"
     u"Reverses a logical value: true for false and false for true.\n"
     u"logical: the condition to reverse"},
    {13226,
     u"OR\n"
     u"OR([logical1], [logical2], ...)\n"
     u"Returns true when at least one argument is true.\n"
     u"logical1: a condition, or a range of conditions\n"
     u"logical2: further conditions or ranges"},
    {13227,
     u"COUNTBLANK\n"
     u"COUNTBLANK([range1], [range2], ...)\n"
     u"Counts the empty cells of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {13228,
     u"ISBLANK\n"
     u"ISBLANK(value)\n"
     u"Tells whether a value is empty.\n"
     u"value: the value to test"},
    {13229,
     u"ISERR\n"
     u"ISERR([range1], [range2], ...)\n"
     u"Counts the error values of ranges.\n"
     u"range1: a range\n"
     u"range2: further ranges"},
    {13230,
     u"ISERROR\n"
     u"ISERROR(value)\n"
     u"Tells whether a value is an error value.\n"
     u"value: the value to test"},
    {13231,
     u"ISEVEN\n"
     u"ISEVEN(number)\n"
     u"Tells whether the integer part of a number is even.\n"
     u"number: the number to test"},
    {13232,
     u"ISNUMBER\n"
     u"ISNUMBER(value)\n"
     u"Tells whether a value is a number.\n"
     u"value: the value to test"},
    {13233,
     u"ISODD\n"
     u"ISODD(number)\n"
     u"Tells whether the integer part of a number is odd.\n"
     u"number: the number to test"},
    {13234,
     u"ISREF\n"
     u"ISREF(value)\n"
     u"Tells whether a value is a reference.\n"
     u"value: the value to test"},
    {13235,
     u"ISTEXT\n"
     u"ISTEXT(value)\n"
     u"Tells whether a value is a text.\n"
     u"value: the value to test"},
    {13236,
     u"ADDRESS\n"
     u"ADDRESS(row, column, [absolute], [sheet])\n"
     u"Returns the text of a cell reference built from a row and a column number.\n"
     u"row: the row number, counted from 1\n"
     u"column: the column number, counted from 1\n"
     u"absolute: 1 or omitted for an absolute reference, 2 for an absolute row only, 3 for an "
     u"absolute column only, 4 for a relative reference\n"
     u"sheet: the name of a sheet to put before the reference"},
    {13237,
     u"AREAS\n"
     u"AREAS([reference1], [reference2], ...)\n"
     u"Returns the number of arguments that are references.\n"
     u"reference1: a reference\n"
     u"reference2: further references"},
    {13238,
     u"CHOOSE\n"
     u"CHOOSE(index, value1, [value2], ...)\n"
     u"Returns the value of a list that an index selects.\n"
     u"index: the position of the value to return, counted from 1\n"
     u"value1: the first value of the list\n"
     u"value2: further values"},
    {13239,
     u"COLUMNS\n"
     u"COLUMNS(range)\n"
     u"Returns the number of columns of a range.\n"
     u"range: the range whose columns are counted"},
    {13240,
     u"FIND\n"
     u"FIND(value, range1, [range2], ...)\n"
     u"Tells whether a value is equal to an element of ranges.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges"},
    {13241,
     u"INDEX\n"
     u"INDEX(n, range1, [range2], ...)\n"
     u"Returns the n-th value of ranges, counted from 1 row by row through the ranges in turn.\n"
     u"n: the position of the value, counted from 1\n"
     u"range1: the first range\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {13242,
     u"LOOKUP\n"
     u"LOOKUP(value, keys, results)\n"
     u"Looks a value up among ascending keys and returns the result at the position of the last "
     u"key not above it.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys, in ascending order\n"
     u"results: the range of results, of the same size"},
    {13243,
     u"ROWS\n"
     u"ROWS(range)\n"
     u"Returns the number of rows of a range.\n"
     u"range: the range whose rows are counted"},
    {13244,
     u"YIELD\n"
     u"YIELD(settlement, maturity, rate, price, redemption, frequency, [basis])\n"
     u"Returns the annual yield of a security that pays periodic interest.\n"
     u"settlement: the date on which the security is bought\n"
     u"maturity: the date on which the security expires\n"
     u"rate: the annual coupon rate\n"
     u"price: the price per 100 of face value\n"
     u"redemption: the redemption value per 100 of face value\n"
     u"frequency: the number of coupon payments per year: 1 annual, 2 semiannual, 4 quarterly\n"
     u"basis: the day count basis: 0 US 30/360, 1 actual/actual, 2 actual/360, 3 actual/365, 4 "
     u"European 30/360; 4 when omitted"},
    {13245,
     u"REMOTE\n"
     u"REMOTE(document, item)\n"
     u"Returns the value of an item of another open document.\n"
     u"document: the name of the document\n"
     u"item: the reference of the cells, or the designation of the item, within that document"},
    {13246,
     u"CREATEDATE\n"
     u"CREATEDATE()\n"
     u"Returns the date and time at which the document was created."},
    {13247,
     u"EDITTIME\n"
     u"EDITTIME()\n"
     u"Returns the total time for which the document has been edited."},
    {13248,
     u"PRINTDATE\n"
     u"PRINTDATE()\n"
     u"Returns the date and time at which the document was last printed."},
    {13249,
     u"SAVEDATE\n"
     u"SAVEDATE()\n"
     u"Returns the date and time at which the document was last saved."},
    {13250,
     u"AUTHOR\n"
     u"AUTHOR()\n"
     u"Returns the author of the document."},
    {13251,
     u"COMMENTS\n"
     u"COMMENTS()\n"
     u"Returns the comments of the document's properties."},
    {13252,
     u"FILENAME\n"
     u"FILENAME()\n"
     u"Returns the file name of the document."},
    {13253,
     u"FILESIZE\n"
     u"FILESIZE()\n"
     u"Returns the size of the document's file in bytes."},
    {13254,
     u"KEYWORDS\n"
     u"KEYWORDS()\n"
     u"Returns the keywords of the document's properties."},
    {13255,
     u"NUMCHARS\n"
     u"NUMCHARS()\n"
     u"Returns the number of characters of the document."},
    {13256,
     u"NUMPAGES\n"
     u"NUMPAGES()\n"
     u"Returns the number of pages of the document."},
    {13257,
     u"NUMWORDS\n"
     u"NUMWORDS()\n"
     u"Returns the number of words of the document."},
    {13258,
     u"SUBJECT\n"
     u"SUBJECT()\n"
     u"Returns the subject of the document's properties."},
    {13259,
     u"TITLE\n"
     u"TITLE()\n"
     u"Returns the title of the document."},
    {13260,
     u"REVNUM\n"
     u"REVNUM()\n"
     u"Returns the revision number of the document."},
    {13261,
     u"PAGE\n"
     u"PAGE()\n"
     u"Returns the number of the page on which the formula's cell lies."},
    {13262,
     u"MERGEREC\n"
     u"MERGEREC()\n"
     u"Returns the number of the record being merged in a mail merge."},
    {13263,
     u"MERGECOUNT\n"
     u"MERGECOUNT()\n"
     u"Returns the number of records merged so far in a mail merge."},
    {13264,
     u"DBGET\n"
     u"DBGET(database, table, [field], [record])\n"
     u"Returns the value of a field of a record of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13265,
     u"DBSQL\n"
     u"DBSQL(database, sql, [field], [record])\n"
     u"Returns the value of a field of a record of the result of an SQL query on a database.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13266,
     u"DBFIELDCOUNT\n"
     u"DBFIELDCOUNT(database, table)\n"
     u"Returns the number of fields of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database"},
    {13267,
     u"DBFIELDNAME\n"
     u"DBFIELDNAME(database, table, number)\n"
     u"Returns the name of a field of a database table or query.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"number: the number of the field, counted from 1"},
    {13268,
     u"DBTABLECOUNT\n"
     u"DBTABLECOUNT(database)\n"
     u"Returns the number of tables of a database.\n"
     u"database: the name of the database document"},
    {13269,
     u"DBTABLENAME\n"
     u"DBTABLENAME(database, number)\n"
     u"Returns the name of a table of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the table, counted from 1"},
    {13270,
     u"DBQUERYCOUNT\n"
     u"DBQUERYCOUNT(database)\n"
     u"Returns the number of queries of a database.\n"
     u"database: the name of the database document"},
    {13271,
     u"DBQUERYNAME\n"
     u"DBQUERYNAME(database, number)\n"
     u"Returns the name of a query of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the query, counted from 1"},
    {13272,
     u"DBRELATIONCOUNT\n"
     u"DBRELATIONCOUNT(database)\n"
     u"Returns the number of relations of a database.\n"
     u"database: the name of the database document"},
    {13273,
     u"DBRELATIONNAME\n"
     u"DBRELATIONNAME(database, number)\n"
     u"Returns the name of a relation of a database.\n"
     u"database: the name of the database document\n"
     u"number: the number of the relation, counted from 1"},
    {13274,
     u"COLUMN\n"
     u"COLUMN([reference])\n"
     u"Returns the column number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose column number is returned; the formula's cell when omitted"},
    {13275,
     u"ROW\n"
     u"ROW([reference])\n"
     u"Returns the row number of a reference, or of the formula's own cell.\n"
     u"reference: the cell whose row number is returned; the formula's cell when omitted"},
    {13276,
     u"TAXBAND\n"
     u"TAXBAND(amount, limits, rates)\n"
     u"Returns the tax on an amount taxed in bands: each band's rate applies to the part of the "
     u"amount within that band.\n"
     u"amount: the amount to tax\n"
     u"limits: the range of the upper limits of the bands, in ascending order\n"
     u"rates: the range of the tax rates of the bands, of the same size"},
    {13277,
     u"DBFILTER\n"
     u"DBFILTER(database, table, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13278,
     u"DBSORT\n"
     u"DBSORT(database, table, sort, [field], [record])\n"
     u"Returns the value of a field of a record of a database table sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13279,
     u"DBFILTERSORT\n"
     u"DBFILTERSORT(database, table, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of a database table that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"table: the name of a table or query of the database\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13280,
     u"DBSQLFILTER\n"
     u"DBSQLFILTER(database, sql, filter, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13281,
     u"DBSQLSORT\n"
     u"DBSQLSORT(database, sql, sort, [field], [record])\n"
     u"Returns the value of a field of a record of an SQL query sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13282,
     u"DBSQLFILTERSORT\n"
     u"DBSQLFILTERSORT(database, sql, filter, sort, [field], [record])\n"
     u"Returns the value of a field of a record among the records of an SQL query that meet a "
     u"condition, sorted by fields.\n"
     u"database: the name of the database document\n"
     u"sql: the text of an SQL query\n"
     u"filter: the condition that the records must meet\n"
     u"sort: the fields by which the records are sorted\n"
     u"field: the name or number of the field; the first field when omitted\n"
     u"record: the number of the record, counted from 1; the first record when omitted"},
    {13283,
     u"SSGET\n"
     u"SSGET(document, reference)\n"
     u"Returns the value of cells of another open spreadsheet.\n"
     u"document: the name of the spreadsheet document\n"
     u"reference: the reference of the cells, as text"},
    {13284,
     u"WPGET\n"
     u"WPGET(document, item)\n"
     u"Returns the value of an item of an open word-processor document.\n"
     u"document: the name of the word-processor document\n"
     u"item: the designation of the table cell or field within the document, as text"},
    {13285,
     u"FINDEX\n"
     u"FINDEX(value, range1, [range2], ...)\n"
     u"Returns the position of the first element of ranges equal to a value, counted from 1 row by "
     u"row through the ranges in turn.\n"
     u"value: the value to find\n"
     u"range1: a range to search\n"
     u"range2: further ranges, counted on from the end of the previous one"},
    {13286,
     u"LOOKUPEX\n"
     u"LOOKUPEX(value, keys, results)\n"
     u"Looks a value up exactly among keys in any order and returns the result at the position of "
     u"the first equal key.\n"
     u"value: the value to look up\n"
     u"keys: the range of keys\n"
     u"results: the range of results, of the same size"},
    {13287,
     u"CONCAT\n"
     u"CONCAT([text1], [text2], ...)\n"
     u"Joins several texts into one, as CONCATENATE does.\n"
     u"text1: a text, or a number that is joined as its display text\n"
     u"text2: further texts"},
    {13288,
     u"HYPERLINK\n"
     u"HYPERLINK(address, [text])\n"
     u"Makes the cell a hyperlink to an address and shows a text for it.\n"
     u"address: the address the link leads to\n"
     u"text: the text shown in the cell; the address when omitted"},
    {13289,
     u"SUMIF\n"
     u"SUMIF(range, criterion, [sum_range])\n"
     u"Adds the cells whose counterpart in a range meets a criterion.\n"
     u"range: the range tested against the criterion\n"
     u"criterion: the value, or comparison such as \">10\", that a cell must meet\n"
     u"sum_range: the cells added, of the same size as the range; the range itself when omitted"},
    {13290,
     u"COUNTIF\n"
     u"COUNTIF(range1, [range2], ..., criterion)\n"
     u"Counts the cells of ranges that meet a criterion.\n"
     u"range1: a range to count in\n"
     u"range2: further ranges\n"
     u"criterion: the value, or comparison such as \">10\", that a cell must meet; always the last "
     u"argument"},
    {13291,
     u"INDIRECT\n"
     u"INDIRECT(ref_text, [a1])\n"
     u"Returns the reference that a text names.\n"
     u"ref_text: the text of a cell or range reference\n"
     u"a1: true or omitted; references are read in A1 style"},
    {13292,
     u"OFFSET\n"
     u"OFFSET(reference, rows, columns, [height], [width])\n"
     u"Returns a reference moved by a number of rows and columns from another, with a new size if "
     u"given.\n"
     u"reference: the reference to start from\n"
     u"rows: the number of rows to move down; negative values move up\n"
     u"columns: the number of columns to move right; negative values move left\n"
     u"height: the number of rows of the result; that of the reference when omitted\n"
     u"width: the number of columns of the result; that of the reference when omitted"},
    {13293,
     u"VLOOKUP\n"
     u"VLOOKUP(value, table, column)\n"
     u"Finds a value in the first column of a table and returns the value in the same row of "
     u"another column.\n"
     u"value: the value to find; keys need not be sorted\n"
     u"table: the range of the table\n"
     u"column: the column of the result within the table, counted from 1"},
    {13294,
     u"HLOOKUP\n"
     u"HLOOKUP(value, table, row)\n"
     u"Finds a value in the first row of a table and returns the value in the same column of "
     u"another row.\n"
     u"value: the value to find; keys need not be sorted\n"
     u"table: the range of the table\n"
     u"row: the row of the result within the table, counted from 1"},
    {13295,
     u"LIKE\n"
     u"LIKE(text, pattern)\n"
     u"Tells whether a text matches a pattern in which ? stands for any one character and * for "
     u"any run of characters.\n"
     u"text: the text to test\n"
     u"pattern: the pattern"},
    {13296,
     u"COUNTRY\n"
     u"COUNTRY()\n"
     u"Returns the country code of the current locale settings."},
    {13297,
     u"TRUNC\n"
     u"TRUNC(number, digits)\n"
     u"Cuts a number down, toward minus infinity, to a number of decimal places.\n"
     u"number: the value to cut\n"
     u"digits: the number of decimal places; its fraction is ignored"},
    {13298,
     u"CEILING\n"
     u"CEILING(number, significance)\n"
     u"Rounds a number up to the next multiple of a significance.\n"
     u"number: the value to round\n"
     u"significance: the multiple to round to"},
    {13299,
     u"FLOOR\n"
     u"FLOOR(number, significance)\n"
     u"Rounds a number down to the previous multiple of a significance.\n"
     u"number: the value to round\n"
     u"significance: the multiple to round to"},
    {13300,
     u"ROUNDN\n"
     u"ROUNDN(number, digits)\n"
     u"Rounds a number to a number of decimal places, halves upward.\n"
     u"number: the value to round\n"
     u"digits: the number of decimal places; negative values round to tens, hundreds and so on"},
    {13301,
     u"NA\n"
     u"NA()\n"
     u"Returns the error value that stands for a value that is not available."},
    {13302,
     u"ISNA\n"
     u"ISNA(value)\n"
     u"Tells whether a value is the error value for a value that is not available.\n"
     u"value: the value to test"},
    {13303,
     u"ISLOGICAL\n"
     u"ISLOGICAL(value)\n"
     u"Tells whether a value is a logical value, true or false.\n"
     u"value: the value to test"},
    {13304,
     u"ISNONTEXT\n"
     u"ISNONTEXT(value)\n"
     u"Tells whether a value is anything but a text.\n"
     u"value: the value to test"},
    {13305,
     u"MATCH\n"
     u"MATCH(value, range, [type])\n"
     u"Returns the position of a value within a range, counted from 1.\n"
     u"value: the value to find\n"
     u"range: the range to search\n"
     u"type: 1 or omitted for the last element not above the value in an ascending range, 0 for "
     u"the first equal element, -1 for the last element not below the value in a descending range"},
};
const size_t kFunctionTextCount = sizeof(kFunctionTexts) / sizeof(kFunctionTexts[0]);

}  // namespace ostrel::resources
