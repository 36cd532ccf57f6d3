# A description without forms: the build compiles it through skiffwire_design.
