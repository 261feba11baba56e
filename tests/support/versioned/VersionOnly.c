/* A library that carries only its version resource. */
int version_fixture;
