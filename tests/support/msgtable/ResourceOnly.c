/* A library that carries only its message table. */
int message_table_fixture;
