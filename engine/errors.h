// Typed errors of the simulation engine. The engine never prints; programs turn these into
// their own messages.
#pragma once

#include <stdexcept>

namespace engine {

// Base of every error raised by the engine.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A run seed given by the user that is not a 32-bit decimal integer.
class SeedError : public EngineError {
 public:
  using EngineError::EngineError;
};

// Collision data without physical meaning: a non-positive or non-finite energy or mass.
class PhysicsError : public EngineError {
 public:
  using EngineError::EngineError;
};

// Run data that the ion tracking cannot serve: tables not sized for the counts, or indices
// (atom types, cells, model atoms) outside them.
class ModelDataError : public EngineError {
 public:
  using EngineError::EngineError;
};

}  // namespace engine
