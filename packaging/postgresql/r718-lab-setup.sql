-- Tevano 718: the lab's history of checks on a PostgreSQL server (version 15 or newer).
--
-- Run once, as a superuser of the server (the postgres account), from the server itself:
--
--     sudo -u postgres psql -f /usr/share/r718/r718-lab-setup.sql
--
-- It makes (and leaves as they are when they exist already, so it may be run again):
--   - the database r718, owned by postgres, which only the two roles below may connect to;
--   - the role r718_owner: owns the schema r718 and the tables in it. The program creates the
--     tables, and upgrades them after a new version, when it connects as this role;
--   - the role r718_bench: the benches. It may read the history and add checks (SELECT,
--     INSERT), nothing else: it cannot change or delete a check. Every bench may use it;
--   - the schema r718, first in the search_path of both roles in this database, so that the
--     program finds and creates its tables there (the schema public is not used).
--
-- Other names: psql -v db=lab -v schema=historia -v owner=lab_owner -v bench=lab_bench ...
-- The roles get no password here; give each one with \password ROLE in psql, or let the
-- server trust the benches' addresses otherwise (pg_hba.conf).

\set ON_ERROR_STOP on
\if :{?db}
\else
\set db r718
\endif
\if :{?schema}
\else
\set schema r718
\endif
\if :{?owner}
\else
\set owner r718_owner
\endif
\if :{?bench}
\else
\set bench r718_bench
\endif

SELECT format('CREATE ROLE %I LOGIN', :'owner')
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'owner') \gexec
SELECT format('CREATE ROLE %I LOGIN', :'bench')
 WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = :'bench') \gexec
SELECT format('CREATE DATABASE %I ENCODING ''UTF8'' TEMPLATE template0', :'db')
 WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = :'db') \gexec

REVOKE ALL ON DATABASE :"db" FROM PUBLIC;
GRANT CONNECT, TEMPORARY ON DATABASE :"db" TO :"owner", :"bench";
ALTER ROLE :"owner" IN DATABASE :"db" SET search_path = :"schema";
ALTER ROLE :"bench" IN DATABASE :"db" SET search_path = :"schema";

\connect :"db"

CREATE SCHEMA IF NOT EXISTS :"schema" AUTHORIZATION :"owner";
REVOKE ALL ON SCHEMA :"schema" FROM PUBLIC;
GRANT USAGE ON SCHEMA :"schema" TO :"bench";
-- The tables the owner makes later are readable and extendable by the benches...
ALTER DEFAULT PRIVILEGES FOR ROLE :"owner" IN SCHEMA :"schema"
    GRANT SELECT, INSERT ON TABLES TO :"bench";
-- ...and so are those it made already (when the script runs again).
GRANT SELECT, INSERT ON ALL TABLES IN SCHEMA :"schema" TO :"bench";
