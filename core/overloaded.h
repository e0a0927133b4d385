#pragma once

// A visitor made of several lambdas, one for each alternative of a variant.
template <class... Kinds> struct Overloaded : Kinds... {
    using Kinds::operator()...;
};
template <class... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;
