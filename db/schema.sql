/* placeholder: replaced by the full schema */
CREATE TABLE CLIENTS (CODE_CLIENT VARCHAR(16) NOT NULL);
